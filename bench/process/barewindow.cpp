// The least a Qt Widgets program shows: one empty top-level window, or with
// --form one caption and one text box, the least a sign-in form needs (its
// text brings in the font machinery). Start-up of the game is measured against both.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    if (argc > 1 && std::strcmp(argv[1], "--form") == 0) {
        auto* caption = new QLabel(QStringLiteral("User name"), &window);
        caption->move(10, 10);
        (new QLineEdit(&window))->move(100, 10);
    }
    window.show();
    return QApplication::exec();
}
