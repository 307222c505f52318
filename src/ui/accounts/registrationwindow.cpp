#include "ui/accounts/registrationwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

    // Each field's two captions: the English one left of its box (Label1 to Label6)
    // and the Arabic one right of it (Label7 to Label12). Screen readers name the
    // box by the first and describe it by the second.
    struct Captions {
        QLineEdit* box;
        const char16_t* english;
        QRect englishPlace;
        const char16_t* arabic;
        QRect arabicPlace;
    };
    const Captions captions[] = {
        {name_, u"Name", twipsRect(960, 240, 495, 255), u"اسم", twipsRect(4320, 240, 495, 255)},
        {age_, u"Age", twipsRect(960, 600, 495, 255), u"عمر", twipsRect(4320, 600, 495, 255)},
        {email_, u"E-mail", twipsRect(960, 960, 495, 255), u"إميل",
         twipsRect(4320, 960, 1215, 255)},
        {userName_, u"User Name", twipsRect(600, 1440, 855, 255), u"اسم المستخدم",
         twipsRect(4320, 1440, 1095, 255)},
        {password_, u"Password", twipsRect(720, 1920, 735, 255), u"كلمة السر",
         twipsRect(4320, 1800, 735, 255)},
        {confirmation_, u"Verify Password", twipsRect(240, 2280, 1335, 255), u"تأكيد كلمة السر",
         twipsRect(4320, 2160, 1335, 255)},
    };
    int label = 1;
    for (const Captions& field : captions) {
        makeLabel(this, QStringLiteral("Label%1").arg(label++), QString::fromUtf16(field.english),
                  field.englishPlace);
    }
    for (const Captions& field : captions) {
        makeLabel(this, QStringLiteral("Label%1").arg(label++), QString::fromUtf16(field.arabic),
                  field.arabicPlace);
        field.box->setAccessibleName(QString::fromUtf16(field.english));
        field.box->setAccessibleDescription(QString::fromUtf16(field.arabic));
    }

    makeLabel(this, QStringLiteral("Label13"),
              QStringLiteral("You should register at  ") + registrationPageAddress(),
              twipsRect(360, 2880, 5175, 255));
    warning_ = makeWarningLabel(this, QStringLiteral("worning"),
                                QStringLiteral("Please check your information again!"),
                                twipsRect(1560, 2520, 2655, 255));

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
