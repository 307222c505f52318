#include <QAbstractItemView>
#include <QApplication>
#include <QFontInfo>
#include <QGlyphRun>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <algorithm>

#include "mainwindowfixture.h"

using mindlark::AnswerList;
using mindlark::Attribute;
using mindlark::Language;
using mindlark::LanguagePane;
using mindlark::testing::labelOf;
using mindlark::testing::MainWindowTest;
using mindlark::testing::twipsPlace;

namespace {

constexpr Attribute kRows[] = {Attribute::Color, Attribute::Pet, Attribute::Drink,
                               Attribute::Nationality, Attribute::Smoke};

struct LabelPlace {
    const char* name;
    int index;
    QString caption;
    QRect place;
    Qt::Alignment alignment;
};

}  // namespace

TEST_F(MainWindowTest, PanesShareOnePlace) {
    for (LanguagePane* pane : {&english(), &arabic()}) {
        EXPECT_EQ(pane->geometry(), twipsPlace(0, 240, 11175, 8655));
        EXPECT_EQ(pane->frameShape(), QFrame::NoFrame);
        EXPECT_TRUE(pane->autoFillBackground());
        EXPECT_EQ(pane->palette().color(QPalette::Window), QColor(Qt::white));
        EXPECT_EQ(pane->parentWidget(), window->centralWidget());
    }
    EXPECT_EQ(english().objectName(), "English");
    EXPECT_EQ(arabic().objectName(), "ArabicF");
    window->show();
    EXPECT_TRUE(english().isVisible());
    EXPECT_FALSE(arabic().isVisible());
}

TEST_F(MainWindowTest, GridListsStandInTheirColumnsAndRows) {
    for (int r = 0; r < 5; ++r) {
        for (int h = 1; h <= 5; ++h) {
            AnswerList* e = list(english(), kRows[r], h);
            AnswerList* a = list(arabic(), kRows[r], h);
            EXPECT_EQ(e->geometry(), twipsPlace(2520 + 1440 * (h - 1), 4200 + 360 * r, 1455, 405))
                << e->objectName().toStdString();
            EXPECT_EQ(a->geometry(), twipsPlace(7080 - 1440 * (h - 1), 4320 + 360 * r, 1455, 405))
                << a->objectName().toStdString();
        }
    }
    // House 1 is the leftmost English column and the rightmost Arabic one.
    EXPECT_LT(list(english(), Attribute::Color, 1)->x(), list(english(), Attribute::Color, 5)->x());
    EXPECT_GT(list(arabic(), Attribute::Color, 1)->x(), list(arabic(), Attribute::Color, 5)->x());
    EXPECT_EQ(english().findChildren<AnswerList*>().size(), 25);
    EXPECT_EQ(arabic().findChildren<AnswerList*>().size(), 25);
    EXPECT_EQ(english().findChild<AnswerList*>("Nationality4"),
              list(english(), Attribute::Nationality, 4));
    EXPECT_EQ(arabic().findChild<AnswerList*>("SmokeA2"), list(arabic(), Attribute::Smoke, 2));
}

TEST_F(MainWindowTest, ListsOfferTheirOptionsUnderTheirInitialText) {
    const QColor purple(128, 0, 128);
    for (Language language : {Language::English, Language::Arabic}) {
        LanguagePane& pane = language == Language::English ? english() : arabic();
        for (Attribute row : kRows) {
            for (int h = 1; h <= 5; ++h) {
                AnswerList* l = list(pane, row, h);
                SCOPED_TRACE(l->objectName().toStdString());
                EXPECT_TRUE(l->isEditable());
                EXPECT_EQ(l->insertPolicy(), QComboBox::NoInsert);
                QStringList options;
                for (int i = 0; i < l->count(); ++i)
                    options << l->itemText(i);
                EXPECT_EQ(options, mindlark::attributeOptions(language, row));
                EXPECT_EQ(l->listIndex(), -1);
                EXPECT_EQ(l->currentText(), mindlark::attributeCaption(language, row));

                const QFont font = l->font();
                EXPECT_EQ(font.family(), "Times New Roman");
                EXPECT_EQ(font.pointSize(), 12);
                EXPECT_EQ(font.bold(), row == Attribute::Pet || row == Attribute::Nationality);
                EXPECT_EQ(font.italic(), row == Attribute::Nationality || row == Attribute::Smoke);
                const QColor text = l->lineEdit()->palette().color(QPalette::Text);
                EXPECT_EQ(text == purple, row == Attribute::Color);
                if (row == Attribute::Color) {
                    EXPECT_EQ(l->view()->palette().color(QPalette::Text), purple);
                }
            }
        }
    }
}

TEST_F(MainWindowTest, TypedTextNeverBecomesAnOption) {
    window->show();
    AnswerList* color = list(english(), Attribute::Color, 2);
    color->setFocus();
    color->lineEdit()->selectAll();
    QTest::keyClicks(color->lineEdit(), "Purple");
    QTest::keyClick(color->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(color->count(), 5);
    EXPECT_EQ(color->listIndex(), -1);
    EXPECT_EQ(color->currentText(), "Purple");

    // A chosen option stops counting once the field no longer reads as it.
    color->setListIndex(2);
    ASSERT_EQ(color->currentText(), "White");
    color->lineEdit()->end(false);
    QTest::keyClicks(color->lineEdit(), "x");
    EXPECT_EQ(color->listIndex(), -1);
    EXPECT_EQ(color->currentText(), "Whitex");
    QTest::keyClick(color->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(color->count(), 5);
    EXPECT_EQ(color->listIndex(), -1);
    EXPECT_TRUE(mindlark::isGridEmpty(game.grid(Language::English)));

    // Choosing from the list works as before.
    color->setCurrentIndex(4);
    EXPECT_EQ(color->listIndex(), 4);
    EXPECT_EQ(color->currentText(), "Blue");

    AnswerList* pet = list(arabic(), Attribute::Pet, 1);
    pet->setListIndex(4);
    EXPECT_EQ(pet->currentText(), QStringLiteral(u"\"سمكة\""));
    EXPECT_EQ(game.grid(Language::Arabic)[5], 4);
    pet->setListIndex(7);  // out of range chooses nothing
    EXPECT_EQ(pet->listIndex(), -1);
    EXPECT_TRUE(pet->currentText().isEmpty());
}

TEST_F(MainWindowTest, SelectionsSurvivePaneSwitchesAndStayApart) {
    window->show();
    list(arabic(), Attribute::Pet, 1)->setListIndex(4);
    list(arabic(), Attribute::Smoke, 5)->setListIndex(0);
    list(english(), Attribute::Color, 3)->setListIndex(1);
    const mindlark::GridIndexes before = game.grid(Language::Arabic);

    mindlark::testing::choose(*window, "arabic");
    mindlark::testing::choose(*window, "englishs");
    mindlark::testing::choose(*window, "arabic");
    EXPECT_EQ(game.grid(Language::Arabic), before);
    EXPECT_EQ(list(arabic(), Attribute::Pet, 1)->currentText(), QStringLiteral(u"\"سمكة\""));

    mindlark::GridIndexes expectedEnglish;
    expectedEnglish.fill(-1);
    expectedEnglish[2] = 1;  // Color of house 3 only
    EXPECT_EQ(game.grid(Language::English), expectedEnglish);
    EXPECT_EQ(before[5], 4);
    EXPECT_EQ(before[24], 0);
    EXPECT_EQ(std::count(before.begin(), before.end(), -1), 23);
}

TEST_F(MainWindowTest, CaptionLabelsStandInTheirPlaces) {
    using mindlark::paneCaptions;
    const auto& en = paneCaptions(Language::English);
    const auto& ar = paneCaptions(Language::Arabic);
    const QString address = mindlark::answerAddress();
    const Qt::Alignment centre = Qt::AlignHCenter;
    std::vector<LabelPlace> englishLabels{
        {"Label14", 0, en.title, twipsPlace(240, 120, 2055, 255), centre},
        {"Label11", 0, en.answerHeading, twipsPlace(960, 3480, 2055, 255), centre},
        {"Label12", 0, en.cluesHeading, twipsPlace(4920, 0, 2055, 255), centre},
        {"Label13", 0, en.codeHeading, twipsPlace(840, 7320, 2055, 255), centre},
        {"Label14", 4, en.sendInstruction, twipsPlace(1680, 6720, 8055, 375), centre},
        {"Label14", 5, address, twipsPlace(1920, 6960, 6855, 375), centre},
    };
    std::vector<LabelPlace> arabicLabels{
        {"Label14", 1, ar.title, twipsPlace(8880, 360, 2055, 375), centre},
        {"Label11", 1, ar.answerHeading, twipsPlace(8280, 3480, 2055, 255), centre},
        {"Label12", 1, ar.cluesHeading, twipsPlace(4200, 120, 2055, 255), centre},
        {"Label13", 1, ar.codeHeading, twipsPlace(8160, 7320, 2055, 255), centre},
        {"Label14", 2, ar.sendInstruction, twipsPlace(1800, 6600, 6855, 375), centre},
        {"Label14", 3, address, twipsPlace(1800, 6960, 6855, 375), centre},
    };
    const int englishHouses[] = {2880, 4200, 5640, 7080, 8520};
    const int arabicHouses[] = {7440, 5880, 4440, 3000, 1560};
    for (int h = 1; h <= 5; ++h) {
        const char* name[] = {"Label1", "Label2", "Label3", "Label4", "Label5"};
        englishLabels.push_back({name[h - 1], 0, mindlark::houseCaption(Language::English, h),
                                 twipsPlace(englishHouses[h - 1], 3840, 855, 255), centre});
        arabicLabels.push_back({name[h - 1], 1, mindlark::houseCaption(Language::Arabic, h),
                                twipsPlace(arabicHouses[h - 1], 3960, 855, 255), centre});
    }
    for (int r = 0; r < 5; ++r) {
        const char* name[] = {"Label6", "Label7", "Label8", "Label9", "Label10"};
        englishLabels.push_back({name[r], 0,
                                 mindlark::attributeCaption(Language::English, kRows[r]),
                                 twipsPlace(1320, 4200 + 360 * r, 1095, 255), Qt::AlignLeft});
        arabicLabels.push_back({name[r], 1, mindlark::attributeCaption(Language::Arabic, kRows[r]),
                                twipsPlace(8520, 4320 + 360 * r, 1095, 255), Qt::AlignRight});
    }

    const auto check = [](const QWidget& pane, const std::vector<LabelPlace>& labels) {
        for (const LabelPlace& want : labels) {
            SCOPED_TRACE(std::string(want.name) + " " + std::to_string(want.index));
            QLabel* label = labelOf(&pane, QString::fromLatin1(want.name), want.index);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), want.caption);
            EXPECT_EQ(label->geometry(), want.place);
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                      want.alignment | Qt::AlignAbsolute);
            EXPECT_FALSE(label->autoFillBackground());
            EXPECT_EQ(label->font().family(), "Times New Roman");
            EXPECT_EQ(label->font().pointSize(), 12);
            EXPECT_TRUE(label->font().bold());
            // The caption is shown whole on its one line.
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width());
        }
        EXPECT_EQ(static_cast<size_t>(pane.findChildren<QLabel*>().size()), labels.size());
    };
    check(english(), englishLabels);
    check(arabic(), arabicLabels);
}

TEST_F(MainWindowTest, BoxesButtonsAndOutlinesInTheirPlaces) {
    EXPECT_EQ(english().introBox()->geometry(), twipsPlace(480, 840, 4815, 2655));
    EXPECT_EQ(english().cluesBox()->geometry(), twipsPlace(5400, 360, 5535, 3015));
    EXPECT_EQ(arabic().cluesBox()->geometry(), twipsPlace(240, 480, 5535, 3015));
    EXPECT_EQ(arabic().introBox()->geometry(), twipsPlace(5880, 840, 4335, 2655));

    QPushButton* command1 = english().generateButton();
    QPushButton* command2 = arabic().generateButton();
    EXPECT_EQ(command1->objectName(), "Command1");
    EXPECT_EQ(command1->text(), "Generate a Code");
    EXPECT_EQ(command1->geometry(), twipsPlace(1200, 6360, 1575, 375));
    EXPECT_EQ(command2->objectName(), "Command2");
    EXPECT_EQ(command2->text(), QStringLiteral(u"شفر الجواب"));
    EXPECT_EQ(command2->geometry(), twipsPlace(8280, 6360, 1575, 375));

    EXPECT_EQ(english().codeBox()->objectName(), "Code");
    EXPECT_EQ(arabic().codeBox()->objectName(), "CodeA");
    for (LanguagePane* pane : {&english(), &arabic()}) {
        EXPECT_EQ(pane->codeBox()->geometry(), twipsPlace(1200, 7680, 8655, 855));
        EXPECT_TRUE(pane->codeBox()->isReadOnly());
        EXPECT_TRUE(pane->codeBox()->textInteractionFlags() & Qt::TextSelectableByMouse)
            << "the user copies the code by hand";
    }

    const auto outline = [](const QWidget& pane, int index) -> QFrame* {
        for (QFrame* f : pane.findChildren<QFrame*>("Shape1")) {
            if (f->property("index").toInt() == index)
                return f;
        }
        return nullptr;
    };
    QFrame* shape0 = outline(english(), 0);
    QFrame* shape1 = outline(arabic(), 1);
    ASSERT_NE(shape0, nullptr);
    ASSERT_NE(shape1, nullptr);
    EXPECT_EQ(shape0->geometry(), twipsPlace(1200, 3840, 8655, 2415));
    EXPECT_EQ(shape1->geometry(), twipsPlace(1080, 3840, 8655, 2415));
    EXPECT_EQ(shape0->frameShape(), QFrame::Box);
    EXPECT_FALSE(shape0->autoFillBackground());
    EXPECT_TRUE(shape0->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(MainWindowTest, TabWalksEachPaneInDesignOrder) {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    const auto walk = [](QWidget* start, int steps) {
        start->setFocus(Qt::TabFocusReason);
        QStringList names{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    };
    const auto expected = [](bool english) {
        QStringList names;
        const char* rows[] = {"Color", "Pet", "Drink", "Nationality", "Smoke"};
        for (const char* row : rows) {
            for (int i = 0; i < 5; ++i) {
                const int house = english ? 5 - i : 1 + i;
                names << QString::fromLatin1(row) + (english ? "" : "A") + QString::number(house);
            }
        }
        if (english) {
            names << "Command1"
                  << "Clues"
                  << "Code"
                  << "Intro"
                  << "Color5";
        } else {
            names << "Command2"
                  << "CluesA"
                  << "CodeA"
                  << "IntroA"
                  << "ColorA1";
        }
        return names;
    };

    EXPECT_EQ(walk(list(english(), Attribute::Color, 5), 29), expected(true));
    mindlark::testing::choose(*window, "arabic");
    EXPECT_EQ(walk(list(arabic(), Attribute::Color, 1), 29), expected(false));
}

TEST_F(MainWindowTest, ControlsCarryAccessibleNames) {
    EXPECT_EQ(list(english(), Attribute::Color, 1)->accessibleName(), "Color, House 1");
    EXPECT_EQ(list(english(), Attribute::Nationality, 4)->accessibleName(), "Nationality, House 4");
    // The focused field inside a list names it too, since the bridge names the list by its text.
    EXPECT_EQ(list(english(), Attribute::Color, 1)->lineEdit()->accessibleName(), "Color, House 1");
    EXPECT_EQ(list(arabic(), Attribute::Color, 1)->accessibleName(),
              QStringLiteral(u"اللون, البيت 1"));
    EXPECT_EQ(list(arabic(), Attribute::Smoke, 5)->accessibleName(),
              QStringLiteral(u"الدخان, البيت 5"));
    EXPECT_EQ(english().generateButton()->accessibleName(), "Generate a Code");
    EXPECT_EQ(arabic().generateButton()->accessibleName(), QStringLiteral(u"شفر الجواب"));
    EXPECT_EQ(english().cluesBox()->accessibleName(), "The Clues:");
    EXPECT_EQ(english().codeBox()->accessibleName(), "Your Code:");
    EXPECT_EQ(arabic().codeBox()->accessibleName(), QStringLiteral(u"شيفرة الجواب"));
    // Every control the user can reach has a name.
    int reachable = 0;
    for (QWidget* w : window->centralWidget()->findChildren<QWidget*>()) {
        if (w->focusPolicy() & Qt::TabFocus && w->focusProxy() == nullptr &&
            w->isVisibleTo(w->parentWidget())) {
            if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QLineEdit*>(w))
                continue;
            if (w->parentWidget() && w->parentWidget()->inherits("QAbstractScrollArea"))
                continue;
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
            ++reachable;
        }
    }
    EXPECT_EQ(reachable, 2 * (25 + 1 + 3));  // lists, button and text boxes of both panes
}

TEST_F(MainWindowTest, NoControlReadsRightToLeft) {
    window->show();
    mindlark::testing::choose(*window, "arabic");
    for (QWidget* w : window->findChildren<QWidget*>()) {
        EXPECT_EQ(w->layoutDirection(), Qt::LeftToRight) << w->objectName().toStdString();
    }
    for (mindlark::RiddleTextBox* box : window->findChildren<mindlark::RiddleTextBox*>()) {
        EXPECT_EQ(box->document()->defaultTextOption().textDirection(), Qt::LeftToRight);
    }
    // Arabic option text starts at the left edge of its field, as in the English pane.
    AnswerList* l = list(arabic(), Attribute::Drink, 3);
    EXPECT_EQ(l->lineEdit()->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft | Qt::AlignAbsolute);
}

namespace {

// The first and last pixel columns that carry dark ink in `widget`'s place, as
// the window shows it (captions are lettered on the pane beneath them).
std::pair<int, int> inkColumns(QWidget* widget) {
    const QImage image = widget->parentWidget()->grab(widget->geometry()).toImage();
    int first = image.width();
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (QColor(image.pixel(x, y)).lightness() < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

}  // namespace

TEST_F(MainWindowTest, ArabicRowCaptionsHugTheRightEdgeOfTheirBox) {
    window->show();
    mindlark::testing::choose(*window, "arabic");
    for (const char* name : {"Label6", "Label8", "Label10"}) {
        QLabel* arabicCaption = labelOf(&arabic(), QString::fromLatin1(name), 1);
        QLabel* englishCaption = labelOf(&english(), QString::fromLatin1(name), 0);
        // How far the ink reaches depends on the Arabic font that fontconfig picks,
        // and some fill the whole box; the ink must end at the right edge either way.
        const int arabicLast = inkColumns(arabicCaption).second;
        const int englishFirst = inkColumns(englishCaption).first;
        EXPECT_GE(arabicLast, arabicCaption->width() - 4) << name;
        EXPECT_LE(englishFirst, 3) << name;
    }
}

namespace {

// Glyph indexes of `text` laid out in `font`; index 0 is the font's missing glyph.
QList<quint32> glyphsOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    QList<quint32> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns())
        glyphs += run.glyphIndexes();
    return glyphs;
}

}  // namespace

TEST_F(MainWindowTest, ArabicTextHasNoMissingGlyphs) {
    struct Sample {
        QString text;
        QFont font;
    };
    std::vector<Sample> samples;
    for (QLabel* label : arabic().findChildren<QLabel*>()) {
        samples.push_back({label->text(), label->font()});
    }
    for (AnswerList* l : arabic().findChildren<AnswerList*>()) {
        for (int i = 0; i < l->count(); ++i)
            samples.push_back({l->itemText(i), l->font()});
        samples.push_back({l->currentText(), l->font()});
        samples.push_back({l->accessibleName(), l->font()});
    }
    for (mindlark::RiddleTextBox* box : {arabic().introBox(), arabic().cluesBox()}) {
        for (const QString& line : box->text().split(QStringLiteral("\r\n"))) {
            samples.push_back({line, box->font()});
        }
    }
    samples.push_back({arabic().generateButton()->text(), arabic().generateButton()->font()});
    const auto& captions = mindlark::paneCaptions(Language::Arabic);
    samples.push_back({captions.refusalPrompt, QApplication::font("QMessageBox")});

    int checked = 0;
    for (const Sample& sample : samples) {
        if (sample.text.isEmpty())
            continue;
        const QList<quint32> glyphs = glyphsOf(sample.text, sample.font);
        EXPECT_FALSE(glyphs.isEmpty()) << sample.text.toStdString();
        EXPECT_FALSE(glyphs.contains(0u))
            << sample.text.toStdString() << " in " << QFontInfo(sample.font).family().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST_F(MainWindowTest, ArabicLettersAreJoined) {
    // A joined letter takes a different glyph from the isolated one: BEH alone
    // and in the middle of three BEHs must differ in every font the pane uses.
    const QString beh(QChar(0x0628));
    const QList<QFont> fonts{labelOf(&arabic(), "Label11", 1)->font(),
                             list(arabic(), Attribute::Pet, 1)->font(),
                             list(arabic(), Attribute::Smoke, 1)->font(),
                             arabic().cluesBox()->font(), arabic().generateButton()->font()};
    for (const QFont& font : fonts) {
        const QList<quint32> alone = glyphsOf(beh, font);
        const QList<quint32> joined = glyphsOf(beh + beh + beh, font);
        ASSERT_EQ(alone.size(), 1);
        ASSERT_EQ(joined.size(), 3);
        EXPECT_NE(joined[1], alone[0]) << QFontInfo(font).family().toStdString();
        EXPECT_NE(joined[0], joined[1]);
    }
}
