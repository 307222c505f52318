#include "ui/gameicon.h"

#include <QCoreApplication>

namespace mindlark {

namespace {

QIcon* shared = nullptr;

}  // namespace

QIcon gameIcon() {
    // Made once and shared, since adding its files reads them: every window and
    // the application show the same icon. It goes with the application, before
    // the pictures it holds could outlive the GUI.
    if (!shared) {
        shared = new QIcon;
        for (int size : {16, 32, 48})
            shared->addFile(QStringLiteral(":/icons/mindlark-%1.png").arg(size), QSize(size, size));
        qAddPostRoutine([] {
            delete shared;
            shared = nullptr;
        });
    }
    return *shared;
}

}  // namespace mindlark
