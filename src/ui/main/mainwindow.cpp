#include "ui/main/mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <optional>
#include <utility>

#include "riddle/game.h"
#include "riddle/riddletexts.h"
#include "ui/gameicon.h"
#include "ui/main/answerlist.h"
#include "ui/main/languagepane.h"
#include "ui/main/riddletextbox.h"
#include "ui/twips.h"

namespace mindlark {

namespace {

constexpr QSize kClientSize(twipsToPixels(11475), twipsToPixels(9150));
constexpr QPoint kClientOrigin(twipsToPixels(1905), twipsToPixels(1425));

}  // namespace

MainWindow::MainWindow(Game& game, QWidget* parent) : QMainWindow(parent), game_(game) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Mindlark?"));
    setWindowIcon(gameIcon());
    // A fixed single border: a close button, but no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setLayoutDirection(Qt::LeftToRight);
    refusal_ = [this](const QString& title, const QString& prompt) {
        showRefusalBox(this, title, prompt);
    };

    buildMenu();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    QPalette white = client->palette();
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    client->setAutoFillBackground(true);
    client->setFixedSize(kClientSize);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    english_ = new LanguagePane(Language::English, client);
    arabic_ = new LanguagePane(Language::Arabic, client);
    arabic_->hide();
    // The Tab ring runs through the English sequence, then the Arabic one; the
    // hidden pane's controls are skipped.
    setTabOrder(english_->tabSequence().constLast(), arabic_->tabSequence().constFirst());

    welcome_ = new QLabel(client);
    welcome_->setObjectName(QStringLiteral("nameuser"));
    welcome_->setTextFormat(Qt::PlainText);
    welcome_->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
    welcome_->setGeometry(twipsRect(360, 0, 3375, 255));
    welcome_->raise();  // above the panes, which start one pixel higher than its foot
    welcome_->setText(game_.greeting());
    connect(&game_, &Game::greeted, welcome_, &QLabel::setText);

    connect(english_->generateButton(), &QPushButton::clicked, this,
            [this] { generateCode(*english_); });
    connect(arabic_->generateButton(), &QPushButton::clicked, this,
            [this] { generateCode(*arabic_); });

    bindGrid(*english_);
    bindGrid(*arabic_);
    connect(&game_, &Game::cleared, this, [this] {
        english_->clearGrid();
        arabic_->clearGrid();
    });
    fillTexts();

    // Put the client area, below the menu bar, at its fixed place on the screen.
    layout()->activate();
    setGeometry(QRect(kClientOrigin - client->pos(), sizeHint()));
}

void MainWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File"));
    file->menuAction()->setObjectName(QStringLiteral("File"));

    QAction* newUser = file->addAction(QStringLiteral("New User"));
    newUser->setObjectName(QStringLiteral("NewUser"));
    connect(newUser, &QAction::triggered, this, &MainWindow::newUserRequested);

    signInAction_ = file->addAction(QStringLiteral("Sign In"));
    signInAction_->setObjectName(QStringLiteral("SignIn"));
    connect(signInAction_, &QAction::triggered, this, &MainWindow::signInRequested);

    // The design's "-" items are lines alone: a separator's text would be drawn beside
    // its line and read out by screen readers.
    QAction* line = file->addSeparator();
    line->setObjectName(QStringLiteral("line"));

    QMenu* languageMenu = file->addMenu(QStringLiteral("Language"));
    languageMenu->setObjectName(QStringLiteral("lang"));
    languageMenu->menuAction()->setObjectName(QStringLiteral("lang"));

    showEnglishAction_ = languageMenu->addAction(QStringLiteral("&English"));
    showEnglishAction_->setObjectName(QStringLiteral("englishs"));
    showEnglishAction_->setVisible(false);
    connect(showEnglishAction_, &QAction::triggered, this, &MainWindow::showEnglishPane);

    showArabicAction_ = languageMenu->addAction(QStringLiteral("&Arabic"));
    showArabicAction_->setObjectName(QStringLiteral("arabic"));
    connect(showArabicAction_, &QAction::triggered, this, &MainWindow::showArabicPane);

    QAction* lineAboveExit = file->addSeparator();
    lineAboveExit->setObjectName(QStringLiteral("l"));

    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::exitRequested);

    // F10 enters the menu bar as a lone Alt does, and leaves it again: the bar's keyboard
    // mode, which hands the focus back on Escape. Qt keeps that mode for Alt, so F10
    // comes to the window as Alt pressed and released alone.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        QKeyEvent altPress(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(this, &altPress);
        QKeyEvent altRelease(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(this, &altRelease);
    });
}

void MainWindow::bindGrid(LanguagePane& pane) {
    for (AnswerList* list : pane.findChildren<AnswerList*>()) {
        connect(list, &QComboBox::currentIndexChanged, this,
                [this, list, language = pane.language()](int index) {
                    game_.choose(language, list->attribute(), list->house(), index);
                });
    }
}

void MainWindow::fillTexts() {
    english_->cluesBox()->setText(cluesText(Language::English));
    english_->introBox()->setText(introText(Language::English));
    arabic_->cluesBox()->setText(cluesText(Language::Arabic));
    arabic_->introBox()->setText(introText(Language::Arabic));
}

QString MainWindow::welcomeCaption() const {
    return welcome_->text();
}

void MainWindow::setSignInCaption(const QString& caption) {
    signInAction_->setText(caption);
}

QString MainWindow::signInCaption() const {
    return signInAction_->text();
}

void MainWindow::setRefusalPresenter(RefusalPresenter presenter) {
    refusal_ = std::move(presenter);
}

void MainWindow::showRefusalBox(QWidget* parent, const QString& title, const QString& prompt) {
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok, parent);
    box.exec();
}

void MainWindow::generateCode(LanguagePane& pane) {
    if (const std::optional<QString> code = game_.answerCode(pane.language())) {
        pane.codeBox()->setText(*code);
        return;
    }
    const PaneCaptions& captions = paneCaptions(pane.language());
    if (refusal_)
        refusal_(captions.refusalTitle, captions.refusalPrompt);
}

void MainWindow::showArabicPane() {
    english_->hide();
    arabic_->show();
    showEnglishAction_->setVisible(true);
    showArabicAction_->setVisible(false);
}

void MainWindow::showEnglishPane() {
    english_->show();
    arabic_->hide();
    showArabicAction_->setVisible(true);
    showEnglishAction_->setVisible(false);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit exitRequested();
}

}  // namespace mindlark
