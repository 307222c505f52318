#pragma once

class QAbstractButton;

namespace mindlark {

// Has Return (and the keypad's Enter) press `button` while it has the focus, as Space
// does: players coming from Windows press the focused button so. It makes no button
// the default one, so Return in a text box presses nothing.
void pressOnReturn(QAbstractButton* button);

}  // namespace mindlark
