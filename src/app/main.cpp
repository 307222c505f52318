#include <QApplication>
#include <QDir>

#include "app/windowflow.h"
#include "ui/gameicon.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mindlark"));
    QApplication::setWindowIcon(mindlark::gameIcon());
    // The store lives below the directory the game was started in.
    mindlark::WindowFlow flow(QDir::currentPath());
    flow.start();
    if (flow.hasEnded())
        return flow.exitStatus();
    return QApplication::exec();
}
