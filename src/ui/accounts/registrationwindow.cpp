#include "ui/accounts/registrationwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "accounts/accountbuffers.h"
#include "accounts/accountstore.h"
#include "accounts/registration.h"
#include "accounts/storeerror.h"
#include "ui/accounts/formcontrols.h"
#include "ui/gameicon.h"
#include "ui/twips.h"

namespace mindlark {

namespace {

// Keeps `mirror` equal to the box's text on every change, the program's own
// clearing included, so the buffers never hold a value the fields no longer show.
void mirror(QLineEdit* box, QString& mirror, QObject* context) {
    QObject::connect(box, &QLineEdit::textChanged, context,
                     [&mirror](const QString& text) { mirror = text; });
}

}  // namespace

QString RegistrationWindow::registrationPageAddress() {
    // The build sets the site's base address, so a fork can show its own site.
    return QStringLiteral(MINDLARK_SITE_ADDRESS "/register/");
}

RegistrationWindow::RegistrationWindow(AccountStore& store, AccountBuffers& buffers,
                                       QWidget* parent)
    : AccountWindow(parent), store_(store), buffers_(buffers) {
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
    nameu_ = makeTextBox(this, QStringLiteral("Nameu"), twipsRect(1560, 240, 2655, 285));
    age_ = makeTextBox(this, QStringLiteral("age"), twipsRect(1560, 600, 2655, 285));
    email_ = makeTextBox(this, QStringLiteral("Email"), twipsRect(1560, 960, 2655, 285));
    userName_ = makeTextBox(this, QStringLiteral("userName"), twipsRect(1560, 1440, 2655, 285));
    pass_ = makePasswordBox(this, QStringLiteral("Pass"), twipsRect(1560, 1800, 2655, 285));
    vpass_ = makePasswordBox(this, QStringLiteral("Vpass"), twipsRect(1560, 2160, 2655, 285));
    command1_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("Add User"),
                           twipsRect(3240, 3240, 975, 375));
    command2_ = makeButton(this, QStringLiteral("Command2"), QStringLiteral("Close"),
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
    worning_ = makeWarningLabel(this, QStringLiteral("worning"),
                                QStringLiteral("Please check your information again!"),
                                twipsRect(1560, 2520, 2655, 255));

    // Screen readers name each field by its English caption and describe it by the Arabic one.
    const std::pair<QLineEdit*, std::pair<const char16_t*, const char16_t*>> captions[] = {
        {nameu_, {u"Name", u"اسم"}},          {age_, {u"Age", u"عمر"}},
        {email_, {u"E-mail", u"إميل"}},       {userName_, {u"User Name", u"اسم المستخدم"}},
        {pass_, {u"Password", u"كلمة السر"}}, {vpass_, {u"Verify Password", u"تأكيد كلمة السر"}},
    };
    for (const auto& [box, caption] : captions) {
        box->setAccessibleName(QString::fromUtf16(caption.first));
        box->setAccessibleDescription(QString::fromUtf16(caption.second));
    }

    setTabOrder(nameu_, age_);
    setTabOrder(age_, email_);
    setTabOrder(email_, userName_);
    setTabOrder(userName_, pass_);
    setTabOrder(pass_, vpass_);
    setTabOrder(vpass_, command1_);
    setTabOrder(command1_, command2_);
    nameu_->setFocus();

    // Vpass has no mirror: only the comparison at "Add User" reads it.
    mirror(nameu_, buffers_.saveName, this);
    mirror(age_, buffers_.saveAge, this);
    mirror(email_, buffers_.saveEmail, this);
    mirror(userName_, buffers_.user, this);
    mirror(pass_, buffers_.password, this);

    connect(command1_, &QPushButton::clicked, this,
            [this] { reportingStoreErrors([this] { Command1_Click(); }); });
    connect(command2_, &QPushButton::clicked, this,
            [this] { reportingStoreErrors([this] { Command2_Click(); }); });
}

void RegistrationWindow::reloadCounter() {
    buffers_.number = store_.loadCounterText();
}

void RegistrationWindow::Command1_Click() {
    if (!isRegistrationAccepted(pass_->text(), vpass_->text(), nameu_->text(), userName_->text())) {
        worning_->show();
        pass_->clear();
        vpass_->clear();
        return;
    }

    worning_->hide();
    buffers_.saveName = nameu_->text();
    buffers_.saveAge = age_->text();
    buffers_.saveEmail = email_->text();
    buffers_.user = userName_->text();
    buffers_.password = pass_->text();
    buffers_.number = store_.registerUser(UserFields{
        buffers_.saveName, buffers_.saveAge, buffers_.saveEmail, buffers_.user, buffers_.password});
    // Taken before the fields are emptied, which empties the mirrors with them.
    const QString name = buffers_.saveName;

    hide();
    pass_->clear();
    vpass_->clear();
    userName_->clear();
    nameu_->clear();
    age_->clear();
    email_->clear();
    emit registered(name);
}

void RegistrationWindow::Command2_Click() {
    emit closeRequested();
}

void RegistrationWindow::closeBoxPressed() {
    Command2_Click();
}

}  // namespace mindlark
