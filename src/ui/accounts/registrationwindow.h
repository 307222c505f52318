#pragma once

#include <QString>

#include "ui/accounts/accountwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace mindlark {

class AccountStore;
struct AccountBuffers;

// The "New User" window (Form2): name, age, e-mail, user name and the password
// typed twice. Its fields feed the hidden mirrors in AccountBuffers on every
// change; "Add User" writes an accepted account through the store and hands the
// greeting to whoever shows the main window. It never shows, hides or ends
// anything beyond itself: the program's flow listens to its signals.
class RegistrationWindow : public AccountWindow {
    Q_OBJECT

public:
    // The address Label13 sends players to.
    static QString registrationPageAddress();

    // A hidden top-level window bound to the store and the shared buffers, both of
    // which must outlive it.
    RegistrationWindow(AccountStore& store, AccountBuffers& buffers, QWidget* parent = nullptr);

    // The main window's New User command's part: the counter text is reloaded from
    // the store, so a registration never reuses a number. Throws StoreError.
    void reloadCounter();

    // "Add User": refused input shows the warning and empties both password boxes;
    // accepted input is written as the next user, the window hides, every field is
    // emptied and registered() is emitted. Throws StoreError when the store fails.
    void Command1_Click();

    // "Close": asks the flow to end the program or hide this window.
    void Command2_Click();

signals:
    // An account was written; `name` is the name to greet.
    void registered(const QString& name);
    // "Close" or the title-bar close box was pressed.
    void closeRequested();

protected:
    // The close box does what "Close" does; the flow decides what happens.
    void closeBoxPressed() override;

private:
    AccountStore& store_;
    AccountBuffers& buffers_;
    QLineEdit* nameu_;
    QLineEdit* age_;
    QLineEdit* email_;
    QLineEdit* userName_;
    QLineEdit* pass_;
    QLineEdit* vpass_;
    QPushButton* command1_;
    QPushButton* command2_;
    QLabel* worning_;
};

}  // namespace mindlark
