#pragma once

#include <QIcon>

namespace mindlark {

// The game's icon, the same picture as the installed one; 32 x 32 is the window icon.
QIcon gameIcon();

}  // namespace mindlark
