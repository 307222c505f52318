#include "ui/accounts/signinwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "accounts/accountbuffers.h"
#include "accounts/accountstore.h"
#include "accounts/signin.h"
#include "accounts/storeerror.h"
#include "ui/accounts/busycursor.h"
#include "ui/accounts/formcontrols.h"
#include "ui/gameicon.h"
#include "ui/twips.h"

namespace mindlark {

SignInWindow::SignInWindow(AccountStore& store, AccountBuffers& buffers,
                           std::function<QString()> dir1Path, QWidget* parent)
    : AccountWindow(parent), store_(store), buffers_(buffers), dir1Path_(std::move(dir1Path)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Sign In"));
    setWindowIcon(gameIcon());
    resize(twipsToPixels(4470), twipsToPixels(2790));
    useFormFont(this);

    // Created in tab order, so the chain below only makes the order explicit.
    user_ = makeTextBox(this, QStringLiteral("user"), twipsRect(1080, 480, 2895, 285));
    password_ = makePasswordBox(this, QStringLiteral("password"), twipsRect(1080, 1080, 2895, 285));
    command1_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("Sign in"),
                           twipsRect(3000, 1920, 1215, 375));
    command2_ = makeButton(this, QStringLiteral("Command2"), QStringLiteral("Cancel"),
                           twipsRect(360, 1920, 1215, 375));
    command3_ = makeButton(this, QStringLiteral("Command3"), QStringLiteral("New User"),
                           twipsRect(1680, 1920, 1215, 375));
    makeLabel(this, QStringLiteral("Label1"), QStringLiteral("User Name"),
              twipsRect(120, 480, 975, 495));
    makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Password"),
              twipsRect(240, 1080, 975, 495));
    worning_ = makeWarningLabel(this, QStringLiteral("worning"),
                                QStringLiteral("Incorrect Password or User Name"),
                                twipsRect(1200, 1560, 2895, 255));

    user_->setAccessibleName(QStringLiteral("User Name"));
    password_->setAccessibleName(QStringLiteral("Password"));

    setTabOrder(user_, password_);
    setTabOrder(password_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    user_->setFocus();

    connect(command1_, &QPushButton::clicked, this,
            [this] { reportingStoreErrors([this] { Command1_Click(); }); });
    connect(command2_, &QPushButton::clicked, this,
            [this] { reportingStoreErrors([this] { Command2_Click(); }); });
    connect(command3_, &QPushButton::clicked, this,
            [this] { reportingStoreErrors([this] { Command3_Click(); }); });
}

bool SignInWindow::Form_Load() {
    if (store_.isFirstRun()) {
        // The store directory goes below the main window's directory.
        dir1Path_();
        store_.setUp();
    }
    buffers_.number = store_.loadCounterText();
    const std::optional<std::int64_t> users = AccountStore::userCountOf(buffers_.number);
    if (!users)
        throw StoreError(AccountStore::notAUserCount(buffers_.number));
    return *users == 0;
}

void SignInWindow::Command1_Click() {
    const BusyCursor busy;
    buffers_.number = store_.loadCounterText();
    if (const std::optional<SignInMatch> match =
            findAccount(store_, user_->text(), password_->text())) {
        buffers_.saveName = match->name;
        emit signedIn(match->name);
        buffers_.saveAge = match->age;
    }
    // Also after a match: the window is hidden by then, and the Sign In command
    // hides the warning again before the window is next shown.
    worning_->show();
}

void SignInWindow::Command2_Click() {
    emit cancelRequested();
}

void SignInWindow::Command3_Click() {
    emit newUserRequested();
}

void SignInWindow::prepareForSignIn() {
    worning_->hide();
    password_->clear();
    user_->setFocus();
}

void SignInWindow::closeBoxPressed() {
    Command2_Click();
}

}  // namespace mindlark
