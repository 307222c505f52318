#include "ui/accounts/registrationwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "ui/accounts/formcontrols.h"
#include "ui/gameicon.h"
#include "ui/twips.h"

namespace mindlark {

QString RegistrationWindow::registrationPageAddress() {
    // The build sets the site's base address, so a fork can show its own site.
    return QStringLiteral(MINDLARK_SITE_ADDRESS "/register/");
}

RegistrationWindow::RegistrationWindow(QWidget* parent) : AccountWindow(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("New User"));
    setWindowIcon(gameIcon());
    // A fixed border: a close box, but no minimise or maximise button and no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(5985), twipsToPixels(3870));
    useFormFont(this);

    // Created in tab order, so the chain below only makes the order explicit.
    name_ = makeTextBox(this, QStringLiteral("Nameu"), twipsRect(1560, 240, 2655, 285));
    age_ = makeTextBox(this, QStringLiteral("age"), twipsRect(1560, 600, 2655, 285));
    email_ = makeTextBox(this, QStringLiteral("Email"), twipsRect(1560, 960, 2655, 285));
    userName_ = makeTextBox(this, QStringLiteral("userName"), twipsRect(1560, 1440, 2655, 285));
    password_ = makePasswordBox(this, QStringLiteral("Pass"), twipsRect(1560, 1800, 2655, 285));
    confirmation_ =
        makePasswordBox(this, QStringLiteral("Vpass"), twipsRect(1560, 2160, 2655, 285));
    addUserButton_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("Add User"),
                                twipsRect(3240, 3240, 975, 375));
    closeButton_ = makeButton(this, QStringLiteral("Command2"), QStringLiteral("Close"),
                              twipsRect(1680, 3240, 975, 375));

    makeLabel(this, QStringLiteral("Label1"), QStringLiteral("Name"),
              twipsRect(960, 240, 495, 255));
    makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Age"), twipsRect(960, 600, 495, 255));
    makeLabel(this, QStringLiteral("Label3"), QStringLiteral("E-mail"),
              twipsRect(960, 960, 495, 255));
    makeLabel(this, QStringLiteral("Label4"), QStringLiteral("User Name"),
              twipsRect(600, 1440, 855, 255));
    makeLabel(this, QStringLiteral("Label5"), QStringLiteral("Password"),
              twipsRect(720, 1920, 735, 255));
    makeLabel(this, QStringLiteral("Label6"), QStringLiteral("Verify Password"),
              twipsRect(240, 2280, 1335, 255));
    makeLabel(this, QStringLiteral("Label7"), QStringLiteral(u"اسم"),
              twipsRect(4320, 240, 495, 255));
    makeLabel(this, QStringLiteral("Label8"), QStringLiteral(u"عمر"),
              twipsRect(4320, 600, 495, 255));
    makeLabel(this, QStringLiteral("Label9"), QStringLiteral(u"إميل"),
              twipsRect(4320, 960, 1215, 255));
    makeLabel(this, QStringLiteral("Label10"), QStringLiteral(u"اسم المستخدم"),
              twipsRect(4320, 1440, 1095, 255));
    makeLabel(this, QStringLiteral("Label11"), QStringLiteral(u"كلمة السر"),
              twipsRect(4320, 1800, 735, 255));
    makeLabel(this, QStringLiteral("Label12"), QStringLiteral(u"تأكيد كلمة السر"),
              twipsRect(4320, 2160, 1335, 255));
    makeLabel(this, QStringLiteral("Label13"),
              QStringLiteral("You should register at  ") + registrationPageAddress(),
              twipsRect(360, 2880, 5175, 255));
    warning_ = makeWarningLabel(this, QStringLiteral("worning"),
                                QStringLiteral("Please check your information again!"),
                                twipsRect(1560, 2520, 2655, 255));

    // Screen readers name each field by its English caption and describe it by the Arabic one.
    const std::pair<QLineEdit*, std::pair<const char16_t*, const char16_t*>> captions[] = {
        {name_, {u"Name", u"اسم"}},
        {age_, {u"Age", u"عمر"}},
        {email_, {u"E-mail", u"إميل"}},
        {userName_, {u"User Name", u"اسم المستخدم"}},
        {password_, {u"Password", u"كلمة السر"}},
        {confirmation_, {u"Verify Password", u"تأكيد كلمة السر"}},
    };
    for (const auto& [box, caption] : captions) {
        box->setAccessibleName(QString::fromUtf16(caption.first));
        box->setAccessibleDescription(QString::fromUtf16(caption.second));
    }

    setTabOrder(name_, age_);
    setTabOrder(age_, email_);
    setTabOrder(email_, userName_);
    setTabOrder(userName_, password_);
    setTabOrder(password_, confirmation_);
    setTabOrder(confirmation_, addUserButton_);
    setTabOrder(addUserButton_, closeButton_);
    name_->setFocus();

    connect(age_, &QLineEdit::textChanged, this, &RegistrationWindow::ageEdited);
    connect(addUserButton_, &QPushButton::clicked, this, [this] {
        emit addUserPressed(UserFields{name_->text(), age_->text(), email_->text(),
                                       userName_->text(), password_->text()},
                            confirmation_->text());
    });
    connect(closeButton_, &QPushButton::clicked, this, &RegistrationWindow::closePressed);
}

void RegistrationWindow::showRefusal() {
    warning_->show();
    password_->clear();
    confirmation_->clear();
}

void RegistrationWindow::clearAfterRegistration() {
    warning_->hide();
    hide();
    for (QLineEdit* field : {password_, confirmation_, userName_, name_, age_, email_})
        field->clear();
}

void RegistrationWindow::closeBoxPressed() {
    emit closePressed();
}

}  // namespace mindlark
