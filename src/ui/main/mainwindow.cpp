#include "ui/main/mainwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <utility>

#include "riddle/riddletexts.h"
#include "ui/gameicon.h"
#include "ui/main/languagepane.h"
#include "ui/main/riddletextbox.h"
#include "ui/twips.h"

namespace mindlark {

namespace {

constexpr QSize kClientSize(twipsToPixels(11475), twipsToPixels(9150));
constexpr QPoint kClientOrigin(twipsToPixels(1905), twipsToPixels(1425));

}  // namespace

MainWindow::MainWindow(AgeSource ageText, QWidget* parent)
    : QMainWindow(parent), ageText_(std::move(ageText)) {
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

    nameuser_ = new QLabel(client);
    nameuser_->setObjectName(QStringLiteral("nameuser"));
    nameuser_->setTextFormat(Qt::PlainText);
    nameuser_->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignTop);
    nameuser_->setGeometry(twipsRect(360, 0, 3375, 255));
    nameuser_->raise();  // above the panes, which start one pixel higher than its foot

    dir1Path_ = QDir::currentPath();
    auto* dir1 = new QWidget(client);
    dir1->setObjectName(QStringLiteral("Dir1"));
    dir1->setProperty("path", dir1Path_);
    dir1->setGeometry(twipsRect(2640, 0, 1575, 315));
    dir1->hide();

    connect(english_->generateButton(), &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(arabic_->generateButton(), &QPushButton::clicked, this, &MainWindow::Command2_Click);

    Form_Load();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    timer1_->start();

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
    connect(newUser, &QAction::triggered, this, &MainWindow::NewUser_Click);

    signIn_ = file->addAction(QStringLiteral("Sign In"));
    signIn_->setObjectName(QStringLiteral("SignIn"));
    connect(signIn_, &QAction::triggered, this, &MainWindow::SignIn_Click);

    QAction* line = file->addSeparator();
    line->setObjectName(QStringLiteral("line"));
    line->setText(QStringLiteral("-"));

    QMenu* lang = file->addMenu(QStringLiteral("Language"));
    lang->setObjectName(QStringLiteral("lang"));
    lang->menuAction()->setObjectName(QStringLiteral("lang"));

    englishs_ = lang->addAction(QStringLiteral("&English"));
    englishs_->setObjectName(QStringLiteral("englishs"));
    englishs_->setVisible(false);
    connect(englishs_, &QAction::triggered, this, &MainWindow::englishs_Click);

    arabicAction_ = lang->addAction(QStringLiteral("&Arabic"));
    arabicAction_->setObjectName(QStringLiteral("arabic"));
    connect(arabicAction_, &QAction::triggered, this, &MainWindow::arabic_Click);

    QAction* l = file->addSeparator();
    l->setObjectName(QStringLiteral("l"));
    l->setText(QStringLiteral("-"));

    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("exit"));
    connect(exit, &QAction::triggered, this, &MainWindow::exit_Click);
}

void MainWindow::Form_Load() {
    counter_ = ElapsedCounter(nameuser_->text());
    english_->cluesBox()->setText(cluesText(Language::English));
    english_->introBox()->setText(introText(Language::English));
    arabic_->cluesBox()->setText(cluesText(Language::Arabic));
    arabic_->introBox()->setText(introText(Language::Arabic));
}

void MainWindow::setWelcomeCaption(const QString& caption) {
    nameuser_->setText(caption);
}

QString MainWindow::welcomeCaption() const {
    return nameuser_->text();
}

void MainWindow::setSignInCaption(const QString& caption) {
    signIn_->setText(caption);
}

QString MainWindow::signInCaption() const {
    return signIn_->text();
}

void MainWindow::clearAnswerGrids() {
    english_->clearGrid();
    arabic_->clearGrid();
}

GridIndexes MainWindow::englishGrid() const {
    return english_->gridIndexes();
}

GridIndexes MainWindow::arabicGrid() const {
    return arabic_->gridIndexes();
}

void MainWindow::setRefusalPresenter(RefusalPresenter presenter) {
    refusal_ = std::move(presenter);
}

void MainWindow::showRefusalBox(QWidget* parent, const QString& title, const QString& prompt) {
    QMessageBox box(QMessageBox::Critical, title, prompt, QMessageBox::Ok, parent);
    box.exec();
}

void MainWindow::Timer1_Timer() {
    counter_.tick(nameuser_->text());
}

void MainWindow::Command1_Click() {
    generateCode(*english_);
}

void MainWindow::Command2_Click() {
    generateCode(*arabic_);
}

void MainWindow::generateCode(LanguagePane& pane) {
    const GridIndexes grid = pane.gridIndexes();
    if (isGridEmpty(grid)) {
        const PaneCaptions& captions = paneCaptions(pane.language());
        if (refusal_)
            refusal_(captions.refusalTitle, captions.refusalPrompt);
        return;
    }
    // The age is read after the grid and the counter last, at this very press.
    const QString age = ageText_ ? ageText_() : QString();
    pane.codeBox()->setText(buildAnswerCode(grid, age, counter_.value()));
}

void MainWindow::arabic_Click() {
    english_->hide();
    arabic_->show();
    englishs_->setVisible(true);
    arabicAction_->setVisible(false);
}

void MainWindow::englishs_Click() {
    english_->show();
    arabic_->hide();
    arabicAction_->setVisible(true);
    englishs_->setVisible(false);
}

void MainWindow::NewUser_Click() {
    emit newUserRequested();
}

void MainWindow::SignIn_Click() {
    emit signInRequested();
}

void MainWindow::exit_Click() {
    emit exitRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit exitRequested();
}

}  // namespace mindlark
