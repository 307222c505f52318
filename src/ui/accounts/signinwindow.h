#pragma once

#include <QString>

#include <functional>
#include "ui/accounts/accountwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace mindlark {

class AccountStore;
struct AccountBuffers;

// The "Sign In" window (Form3), the program's first window: its load step sets the
// store up on the first run, "Sign in" looks the typed user name and password up in
// the store, "New User" and "Cancel" are passed on to the program's flow as signals.
class SignInWindow : public AccountWindow {
    Q_OBJECT

public:
    // A hidden top-level window bound to the store and the shared buffers, both of
    // which must outlive it. `dir1Path` yields the main window's directory, below
    // which the first run creates the store directory; it is asked only then.
    SignInWindow(AccountStore& store, AccountBuffers& buffers, std::function<QString()> dir1Path,
                 QWidget* parent = nullptr);

    // The load step: first-run set-up, then the counter into `buffers.number`.
    // Returns true when nobody is registered yet, so the flow opens the
    // registration window instead of this one. Throws StoreError when the store
    // fails or the counter is not a count of users.
    bool Form_Load();

    // "Sign in": looks the typed texts up in every stored account; each match
    // (the last one wins) loads the name, emits signedIn() and loads the age into
    // the buffers. The warning is made visible afterwards in every case. Throws
    // StoreError when a file of any user below the counter cannot be read.
    void Command1_Click();

    // "Cancel": asks the flow to end the program or hide this window.
    void Command2_Click();

    // "New User": asks the flow to show the registration window and hide this one.
    void Command3_Click();

    // The main window's Sign In / Change User command's part, before the flow shows
    // the window: no warning, an empty password box, the user name kept.
    void prepareForSignIn();

signals:
    // A stored account matched; `name` is its stored name, to greet.
    void signedIn(const QString& name);
    // "Cancel" or the title-bar close box was pressed.
    void cancelRequested();
    // "New User" was pressed.
    void newUserRequested();

protected:
    // The close box does what "Cancel" does; the flow decides what happens.
    void closeBoxPressed() override;

private:
    AccountStore& store_;
    AccountBuffers& buffers_;
    std::function<QString()> dir1Path_;
    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QLabel* worning_;
};

}  // namespace mindlark
