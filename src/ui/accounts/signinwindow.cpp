#include "ui/accounts/signinwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/accounts/formcontrols.h"
#include "ui/gameicon.h"
#include "ui/twips.h"

namespace mindlark {

SignInWindow::SignInWindow(QWidget* parent) : AccountWindow(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Sign In"));
    setWindowIcon(gameIcon());
    resize(twipsToPixels(4470), twipsToPixels(2790));
    useFormFont(this);

    // Created in tab order, so the chain below only makes the order explicit.
    userName_ = makeTextBox(this, QStringLiteral("user"), twipsRect(1080, 480, 2895, 285));
    password_ = makePasswordBox(this, QStringLiteral("password"), twipsRect(1080, 1080, 2895, 285));
    signInButton_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("Sign in"),
                               twipsRect(3000, 1920, 1215, 375));
    cancelButton_ = makeButton(this, QStringLiteral("Command2"), QStringLiteral("Cancel"),
                               twipsRect(360, 1920, 1215, 375));
    newUserButton_ = makeButton(this, QStringLiteral("Command3"), QStringLiteral("New User"),
                                twipsRect(1680, 1920, 1215, 375));
    makeLabel(this, QStringLiteral("Label1"), QStringLiteral("User Name"),
              twipsRect(120, 480, 975, 495));
    makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Password"),
              twipsRect(240, 1080, 975, 495));
    warning_ = makeWarningLabel(this, QStringLiteral("worning"),
                                QStringLiteral("Incorrect Password or User Name"),
                                twipsRect(1200, 1560, 2895, 255));

    userName_->setAccessibleName(QStringLiteral("User Name"));
    password_->setAccessibleName(QStringLiteral("Password"));

    setTabOrder(userName_, password_);
    setTabOrder(password_, signInButton_);
    setTabOrder(signInButton_, cancelButton_);
    setTabOrder(cancelButton_, newUserButton_);
    userName_->setFocus();

    connect(signInButton_, &QPushButton::clicked, this,
            [this] { emit signInPressed(userName_->text(), password_->text()); });
    connect(cancelButton_, &QPushButton::clicked, this, &SignInWindow::cancelPressed);
    connect(newUserButton_, &QPushButton::clicked, this, &SignInWindow::newUserPressed);
}

void SignInWindow::showWarning() {
    warning_->show();
}

void SignInWindow::prepareForSignIn() {
    warning_->hide();
    password_->clear();
    userName_->setFocus();
}

void SignInWindow::closeBoxPressed() {
    emit cancelPressed();
}

}  // namespace mindlark
