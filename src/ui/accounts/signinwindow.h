#pragma once

#include <QString>

#include "ui/accounts/accountwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace mindlark {

// The "Sign In" window (Form3): the user name and password boxes and three
// buttons, each reported as a signal. It holds no account and reads no store; the
// program's flow decides what a press leads to and tells the window what to show.
class SignInWindow : public AccountWindow {
    Q_OBJECT

public:
    // A hidden top-level window with empty boxes and no warning.
    explicit SignInWindow(QWidget* parent = nullptr);

    // Shows the red warning "Incorrect Password or User Name".
    void showWarning();

    // What the main window's Sign In / Change User command asks of this window
    // before it is shown: no warning, an empty password box, the user name kept.
    void prepareForSignIn();

signals:
    // "Sign in" was pressed with these texts in the boxes.
    void signInPressed(const QString& userName, const QString& password);
    // "Cancel" or the title-bar close box was pressed.
    void cancelPressed();
    // "New User" was pressed.
    void newUserPressed();

protected:
    // The close box does what "Cancel" does.
    void closeBoxPressed() override;

private:
    QLineEdit* userName_;
    QLineEdit* password_;
    QPushButton* signInButton_;
    QPushButton* cancelButton_;
    QPushButton* newUserButton_;
    QLabel* warning_;
};

}  // namespace mindlark
