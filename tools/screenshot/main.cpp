// Renders the program's windows to PNG files, for documentation and for checking
// the layout by eye. Run with QT_QPA_PLATFORM=offscreen: mindlark-screenshot DIR
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

#include "ui/main/mainwindow.h"

namespace {

// One picture: its file name (without .png) and how to get the widget to grab.
struct Shot {
    QString name;
    std::function<QWidget*()> prepare;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        err << "usage: mindlark-screenshot OUTPUT_DIRECTORY\n";
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.absolutePath())) {
        err << "cannot create " << out.absolutePath() << "\n";
        return 1;
    }

    mindlark::MainWindow main([] { return QString(); });
    main.setWelcomeCaption(QStringLiteral("Welcome Sam"));

    // Each new window's picture is one more entry here.
    const std::vector<Shot> shots{
        {QStringLiteral("main-english"),
         [&main]() -> QWidget* {
             main.englishs_Click();
             return &main;
         }},
        {QStringLiteral("main-arabic"),
         [&main]() -> QWidget* {
             main.arabic_Click();
             return &main;
         }},
    };

    int failures = 0;
    for (const Shot& shot : shots) {
        QWidget* widget = shot.prepare();
        widget->show();
        QApplication::processEvents();
        const QString path = out.filePath(shot.name + QStringLiteral(".png"));
        if (!widget->grab().save(path)) {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
