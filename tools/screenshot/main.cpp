// Renders the program's windows to PNG files, for documentation and for checking
// the layout by eye. Run with QT_QPA_PLATFORM=offscreen:
//   mindlark-screenshot DIR [SCALE]
// SCALE (for example 1.5) renders as a high-DPI screen would and adds "@SCALEx" to
// every file name.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTextStream>
#include <functional>
#include <memory>
#include <vector>

#include "riddle/game.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"

namespace {

// One picture: its file name (without .png) and how to get the widget to grab.
struct Shot {
    QString name;
    std::function<QWidget*()> prepare;
};

}  // namespace

int main(int argc, char** argv) {
    // The scale factor must be known before the application starts.
    QString suffix;
    if (argc == 3) {
        qputenv("QT_SCALE_FACTOR", argv[2]);
        suffix = QStringLiteral("@%1x").arg(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2 && args.size() != 3) {
        err << "usage: mindlark-screenshot OUTPUT_DIRECTORY [SCALE]\n";
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.absolutePath())) {
        err << "cannot create " << out.absolutePath() << "\n";
        return 1;
    }

    mindlark::Game game;
    game.greet(QStringLiteral("Sam"), {});
    mindlark::MainWindow main(game);
    mindlark::RegistrationWindow registration;
    mindlark::SignInWindow signIn;

    // Each new window's picture is one more entry here.
    const std::vector<Shot> shots{
        {QStringLiteral("main-english"),
         [&main]() -> QWidget* {
             main.findChild<QAction*>(QStringLiteral("englishs"))->trigger();
             return &main;
         }},
        {QStringLiteral("main-arabic"),
         [&main]() -> QWidget* {
             main.findChild<QAction*>(QStringLiteral("arabic"))->trigger();
             return &main;
         }},
        {QStringLiteral("new-user"), [&registration]() -> QWidget* { return &registration; }},
        {QStringLiteral("sign-in"), [&signIn]() -> QWidget* { return &signIn; }},
    };

    int failures = 0;
    for (const Shot& shot : shots) {
        QWidget* widget = shot.prepare();
        widget->show();
        QApplication::processEvents();
        const QString path = out.filePath(shot.name + suffix + QStringLiteral(".png"));
        if (!widget->grab().save(path)) {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
