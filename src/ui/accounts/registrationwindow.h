#pragma once

#include <QString>

#include "accounts/fields.h"
#include "ui/accounts/accountwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace mindlark {

// The "New User" window (Form2): name, age, e-mail, user name and the password
// typed twice. It reports its presses and every change of the age box as
// signals, holds no account and writes no store; the program's flow judges a
// registration and tells the window how it went.
class RegistrationWindow : public AccountWindow {
    Q_OBJECT

public:
    // The address Label13 sends players to.
    static QString registrationPageAddress();

    // A hidden top-level window with empty fields and no warning.
    explicit RegistrationWindow(QWidget* parent = nullptr);

    // A refused registration: the red warning shows and both password boxes empty.
    void showRefusal();
    // An accepted registration: the warning goes, the window hides and every field
    // empties (password, confirmation, user name, name, age, e-mail, in that order).
    void clearAfterRegistration();

signals:
    // "Add User" was pressed with these texts; `confirmation` is the second password box.
    void addUserPressed(const mindlark::UserFields& fields, const QString& confirmation);
    // "Close" or the title-bar close box was pressed.
    void closePressed();
    // The age box now reads `text`: on every change, the program's own emptying included.
    void ageEdited(const QString& text);

protected:
    // The close box does what "Close" does.
    void closeBoxPressed() override;

private:
    QLineEdit* name_;
    QLineEdit* age_;
    QLineEdit* email_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QLineEdit* confirmation_;
    QPushButton* addUserButton_;
    QPushButton* closeButton_;
    QLabel* warning_;
};

}  // namespace mindlark
