#include "ui/accounts/registrationwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <utility>
#include <vector>

#include "ui/accounts/signinwindow.h"
#include "ui/accountsfixture.h"

namespace mindlark {
namespace {

using testing::control;

class RegistrationWindowTest : public testing::AccountWindowTest<RegistrationWindow> {
protected:
    // Types the six fields as a player would, key by key.
    void type(const QString& name, const QString& age, const QString& email,
              const QString& userName, const QString& password, const QString& confirmation) {
        testing::typeInto(box("Nameu"), name);
        testing::typeInto(box("age"), age);
        testing::typeInto(box("Email"), email);
        testing::typeInto(box("userName"), userName);
        testing::typeInto(box("Pass"), password);
        testing::typeInto(box("Vpass"), confirmation);
    }

    QString fieldTexts() {
        QStringList texts;
        for (const char* name : {"Nameu", "age", "Email", "userName", "Pass", "Vpass"})
            texts << box(name)->text();
        return texts.join(u'|');
    }
};

TEST_F(RegistrationWindowTest, HasTheFixedNewUserWindowLayout) {
    EXPECT_EQ(window->objectName(), "Form2");
    EXPECT_EQ(window->windowTitle(), "New User");
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isHidden());
    // 5985 x 3870 twips, and a border that cannot be resized.
    EXPECT_EQ(window->size(), QSize(399, 258));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    struct Expected {
        const char* name;
        QString caption;
        QRect twips;
    };
    const QList<Expected> labels = {
        {"Label1", "Name", {960, 240, 495, 255}},
        {"Label2", "Age", {960, 600, 495, 255}},
        {"Label3", "E-mail", {960, 960, 495, 255}},
        {"Label4", "User Name", {600, 1440, 855, 255}},
        {"Label5", "Password", {720, 1920, 735, 255}},
        {"Label6", "Verify Password", {240, 2280, 1335, 255}},
        {"Label7", QStringLiteral("اسم"), {4320, 240, 495, 255}},
        {"Label8", QStringLiteral("عمر"), {4320, 600, 495, 255}},
        {"Label9", QStringLiteral("إميل"), {4320, 960, 1215, 255}},
        {"Label10", QStringLiteral("اسم المستخدم"), {4320, 1440, 1095, 255}},
        {"Label11", QStringLiteral("كلمة السر"), {4320, 1800, 735, 255}},
        {"Label12", QStringLiteral("تأكيد كلمة السر"), {4320, 2160, 1335, 255}},
        {"Label13",
         "You should register at  " MINDLARK_SITE_ADDRESS "/register/",
         {360, 2880, 5175, 255}},
        {"worning", "Please check your information again!", {1560, 2520, 2655, 255}},
    };
    const auto pixels = [](const QRect& t) {
        return QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15);
    };
    for (const Expected& e : labels) {
        QLabel* label = control<QLabel>(*window, e.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), e.caption) << e.name;
        EXPECT_EQ(label->geometry(), pixels(e.twips)) << e.name;
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << e.name;
    }
    const QList<Expected> buttons = {
        {"Command1", "Add User", {3240, 3240, 975, 375}},
        {"Command2", "Close", {1680, 3240, 975, 375}},
    };
    for (const Expected& e : buttons) {
        QPushButton* button = control<QPushButton>(*window, e.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), e.caption) << e.name;
        EXPECT_EQ(button->geometry(), pixels(e.twips)) << e.name;
    }
    const QList<Expected> boxes = {
        {"Nameu", {}, {1560, 240, 2655, 285}}, {"age", {}, {1560, 600, 2655, 285}},
        {"Email", {}, {1560, 960, 2655, 285}}, {"userName", {}, {1560, 1440, 2655, 285}},
        {"Pass", {}, {1560, 1800, 2655, 285}}, {"Vpass", {}, {1560, 2160, 2655, 285}},
    };
    for (const Expected& e : boxes) {
        QLineEdit* field = box(e.name);
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(field->text().isEmpty()) << e.name;
        EXPECT_EQ(field->geometry(), pixels(e.twips)) << e.name;
    }

    QLabel* warning = control<QLabel>(*window, "worning");
    EXPECT_TRUE(warning->isHidden());
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(RegistrationWindowTest, EveryCaptionFitsItsPlace) {
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    for (const QLabel* label : labels) {
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
    }
}

TEST_F(RegistrationWindowTest, OpensWithTheFocusInTheNameAndTabsThroughFieldsAndButtons) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), box("Nameu"));

    const QList<QWidget*> expected = {box("Nameu"),
                                      box("age"),
                                      box("Email"),
                                      box("userName"),
                                      box("Pass"),
                                      box("Vpass"),
                                      control<QPushButton>(*window, "Command1"),
                                      control<QPushButton>(*window, "Command2")};
    EXPECT_EQ(testing::tabChain(box("Nameu")), expected);
}

TEST_F(RegistrationWindowTest, PasswordBoxesShowAStarPerCharacterAndTakeAnyLength) {
    type("", "", "", "", "Se cret", QStringLiteral("كلمة"));
    EXPECT_EQ(box("Pass")->text(), "Se cret");
    EXPECT_EQ(box("Pass")->displayText(), "*******");
    EXPECT_EQ(box("Vpass")->displayText(), "****");
    EXPECT_EQ(box("Nameu")->echoMode(), QLineEdit::Normal);

    // No box stops at QLineEdit's default of 32767 characters.
    const QString longText(40000, u'x');
    for (const char* name : {"Nameu", "age", "Email", "userName", "Pass", "Vpass"}) {
        box(name)->setText(longText);
        EXPECT_EQ(box(name)->text().size(), longText.size()) << name;
    }
}

TEST_F(RegistrationWindowTest, AddUserReportsTheTypedFieldsAndTheAgeBoxReportsEveryChange) {
    QSignalSpy addUser(window.get(), &RegistrationWindow::addUserPressed);
    QSignalSpy ageEdited(window.get(), &RegistrationWindow::ageEdited);
    window->show();
    type(QStringLiteral("آن Lee"), "4O", "a@b", "Ann1", "Pa ss", "pa ss");
    EXPECT_EQ(ageEdited.count(), 2);
    EXPECT_EQ(ageEdited.last().at(0).toString(), "4O");

    QTest::mouseClick(control<QPushButton>(*window, "Command1"), Qt::LeftButton);
    ASSERT_EQ(addUser.count(), 1);
    const auto fields = addUser.at(0).at(0).value<UserFields>();
    EXPECT_EQ(QStringList({fields.name, fields.age, fields.email, fields.userName, fields.password,
                           addUser.at(0).at(1).toString()})
                  .join(u'|'),
              QStringLiteral("آن Lee|4O|a@b|Ann1|Pa ss|pa ss"));
    // Pressing changes nothing by itself: the flow judges and answers.
    EXPECT_EQ(fieldTexts(), QStringLiteral("آن Lee|4O|a@b|Ann1|Pa ss|pa ss"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(warningShown());
}

TEST_F(RegistrationWindowTest, ARefusalWarnsUntilAnAcceptanceWhichEmptiesEveryField) {
    QSignalSpy ageEdited(window.get(), &RegistrationWindow::ageEdited);
    window->show();
    type("Ann", "30", "a@b", "ann", "a", "b");

    window->showRefusal();
    EXPECT_TRUE(warningShown());
    EXPECT_EQ(fieldTexts(), "Ann|30|a@b|ann||");
    window->hide();
    window->show();
    EXPECT_TRUE(warningShown()) << "the warning stays across closing and reopening";

    window->clearAfterRegistration();
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(fieldTexts(), "|||||");
    EXPECT_EQ(ageEdited.last().at(0).toString(), "") << "emptying the age box is a change too";
}

TEST_F(RegistrationWindowTest, CloseButtonAndCloseBoxOnlyReportThePress) {
    QSignalSpy closePressed(window.get(), &RegistrationWindow::closePressed);
    window->show();
    QTest::mouseClick(control<QPushButton>(*window, "Command2"), Qt::LeftButton);
    EXPECT_EQ(closePressed.count(), 1);
    EXPECT_TRUE(window->isVisible());

    // The player's click on the close box arrives as a spontaneous close event.
    QCloseEvent closeBox;
    QSpontaneKeyEvent::setSpontaneous(&closeBox);
    static_cast<QObject*>(window.get())->event(&closeBox);
    EXPECT_FALSE(closeBox.isAccepted());
    EXPECT_EQ(closePressed.count(), 2);
    EXPECT_TRUE(window->isVisible());

    // A close the program asks for itself goes through.
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closePressed.count(), 2);
}

}  // namespace
}  // namespace mindlark

namespace mindlark {
namespace {

TEST(AccountWindowNames, EveryFieldAndButtonHasTheNameAScreenReaderReads) {
    RegistrationWindow form2;
    SignInWindow form3;
    const std::pair<QWidget*, std::vector<std::pair<const char*, QString>>> expected[] = {
        {&form2,
         {{"Nameu", "Name"},
          {"age", "Age"},
          {"Email", "E-mail"},
          {"userName", "User Name"},
          {"Pass", "Password"},
          {"Vpass", "Verify Password"},
          {"Command1", "Add User"},
          {"Command2", "Close"}}},
        {&form3,
         {{"user", "User Name"},
          {"password", "Password"},
          {"Command1", "Sign in"},
          {"Command2", "Cancel"},
          {"Command3", "New User"}}},
    };
    for (const auto& [window, names] : expected) {
        for (const auto& [objectName, accessibleName] : names) {
            auto* control = window->findChild<QWidget*>(QString::fromLatin1(objectName));
            ASSERT_NE(control, nullptr) << objectName;
            EXPECT_EQ(control->accessibleName(), accessibleName) << objectName;
        }
    }
    EXPECT_EQ(form2.findChild<QWidget*>("Vpass")->accessibleDescription(), u"تأكيد كلمة السر");
}

}  // namespace
}  // namespace mindlark
