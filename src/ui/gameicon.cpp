#include "ui/gameicon.h"

namespace mindlark {

QIcon gameIcon() {
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icons/mindlark-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace mindlark
