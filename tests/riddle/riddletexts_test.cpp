#include "riddle/riddletexts.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

using mindlark::Attribute;
using mindlark::Language;

namespace {

constexpr Language kBoth[] = {Language::English, Language::Arabic};
constexpr Attribute kRows[] = {Attribute::Color, Attribute::Pet, Attribute::Drink,
                               Attribute::Nationality, Attribute::Smoke};

QStringList linesOf(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

}  // namespace

TEST(RiddleTexts, LinesAreSeparatedByCrLfPairsOnly) {
    for (Language language : kBoth) {
        const QString clues = mindlark::cluesText(language);
        const QString intro = mindlark::introText(language);
        EXPECT_EQ(clues.count(QStringLiteral("\r\n")), 14);
        EXPECT_EQ(intro.count(QStringLiteral("\r\n")), 10);
        for (const QString& text : {clues, intro}) {
            // No lone CR or LF, no tab, and nothing before the first or after the last line.
            EXPECT_EQ(text.count(u'\r'), text.count(QStringLiteral("\r\n")));
            EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n")));
            EXPECT_FALSE(text.contains(u'\t'));
            EXPECT_FALSE(text.endsWith(u'\n'));
            EXPECT_FALSE(text.startsWith(u'\r'));
        }
        const QStringList introLines = linesOf(intro);
        ASSERT_EQ(introLines.size(), 11);
        EXPECT_TRUE(introLines[2].isEmpty()) << "line 3 is the blank line after the greeting";
        EXPECT_TRUE(intro.contains(QStringLiteral("\r\n\r\n")));
        EXPECT_EQ(intro.count(QStringLiteral("\r\n\r\n")), 1);
    }
    EXPECT_EQ(linesOf(mindlark::introText(Language::English))[1], QStringLiteral("Have Fun"));
}

TEST(RiddleTexts, ClueNumbersAreFollowedByTheirSpaces) {
    for (Language language : kBoth) {
        const QStringList clues = linesOf(mindlark::cluesText(language));
        ASSERT_EQ(clues.size(), 15);
        for (int n = 1; n <= 15; ++n) {
            const QString number = QString::number(n) + u'.';
            int spaces = n >= 10 ? 2 : 3;
            if (language == Language::English && n == 1)
                spaces = 4;
            const QString line = clues[n - 1];
            ASSERT_TRUE(line.startsWith(number + QString(spaces, u' '))) << line.toStdString();
            EXPECT_NE(line.at(number.size() + spaces), u' ') << line.toStdString();
        }
    }
}

TEST(RiddleTexts, LeadingAndTrailingSpacesSurvive) {
    const QStringList clues = linesOf(mindlark::cluesText(Language::English));
    const QStringList cluesA = linesOf(mindlark::cluesText(Language::Arabic));
    const QStringList intro = linesOf(mindlark::introText(Language::English));
    const QStringList introA = linesOf(mindlark::introText(Language::Arabic));

    EXPECT_EQ(clues[0], QStringLiteral("1.    The British man lives in the red house "));
    EXPECT_TRUE(cluesA[0].endsWith(QStringLiteral(u"الأحمر ")));
    EXPECT_TRUE(cluesA[5].endsWith(QStringLiteral(u"عصفور ")));
    EXPECT_TRUE(cluesA[5].contains(QStringLiteral(u"(بال مال)يملك")));
    EXPECT_TRUE(introA[10].startsWith(QStringLiteral(u"  استعمل")));
    EXPECT_TRUE(introA[10].endsWith(QStringLiteral(u"اليسار ")));
    for (int i : {6, 7, 10}) {
        EXPECT_TRUE(intro[i].startsWith(QStringLiteral("  ")) && intro[i].at(2) != u' ') << i;
        EXPECT_FALSE(intro[i].endsWith(u' ')) << i;
    }
    for (int i : {6, 7})
        EXPECT_TRUE(introA[i].startsWith(u' ') && introA[i].at(1) != u' ') << i;

    // Every other line starts and ends with a visible character.
    const auto trimmedExcept = [](const QStringList& lines, QSet<int> spaced) {
        for (int i = 0; i < lines.size(); ++i) {
            if (spaced.contains(i) || lines[i].isEmpty())
                continue;
            EXPECT_EQ(lines[i], lines[i].trimmed()) << i << " " << lines[i].toStdString();
        }
    };
    trimmedExcept(clues, {0});
    trimmedExcept(cluesA, {0, 5});
    trimmedExcept(intro, {6, 7, 10});
    trimmedExcept(introA, {6, 7, 10});
}

TEST(RiddleTexts, QuestionLineKeepsItsFourBackslashes) {
    const QString intro = mindlark::introText(Language::English);
    EXPECT_EQ(intro.count(u'\\'), 4);
    EXPECT_EQ(linesOf(intro)[8], QStringLiteral("- The question is... \\\\Who has the Fish?\\\\"));
    EXPECT_TRUE(linesOf(intro)[0].contains(QStringLiteral("world's population")));
}

TEST(RiddleTexts, ArabicTextsUseArabicLettersAndFewAsciiSigns) {
    const QString allowedAscii = QStringLiteral("0123456789 -.%(),\"");
    QStringList texts{mindlark::cluesText(Language::Arabic), mindlark::introText(Language::Arabic)};
    for (Attribute row : kRows)
        texts += mindlark::attributeOptions(Language::Arabic, row);
    for (const QString& text : texts) {
        for (QChar c : text) {
            if (c == u'\r' || c == u'\n')
                continue;
            const bool arabic = c.unicode() >= 0x0600 && c.unicode() <= 0x06FF;
            EXPECT_TRUE(arabic || allowedAscii.contains(c))
                << "U+" << QString::number(c.unicode(), 16).toStdString();
        }
    }
}

TEST(RiddleTexts, OptionTablesInOrder) {
    using mindlark::attributeOptions;
    EXPECT_EQ(attributeOptions(Language::English, Attribute::Color),
              QStringList({"Red", "Green", "White", "Yellow", "Blue"}));
    EXPECT_EQ(attributeOptions(Language::English, Attribute::Pet),
              QStringList({"Dog", "Cat", "Horse", "Bird", "{Fish}"}));
    EXPECT_EQ(attributeOptions(Language::English, Attribute::Drink),
              QStringList({"Water", "Coffee", "Tea", "Milk", "Beer"}));
    EXPECT_EQ(attributeOptions(Language::English, Attribute::Nationality),
              QStringList({"German", "Swedish", "Norwegian", "Danish", "British"}));
    EXPECT_EQ(attributeOptions(Language::English, Attribute::Smoke),
              QStringList({"Pall Mall", "Dunhill", "Bluemaster", "Prince", "Blend"}));

    EXPECT_EQ(attributeOptions(Language::Arabic, Attribute::Color),
              QStringList({u"أحمر"_qs, u"أخضر"_qs, u"أبيض"_qs, u"أصفر"_qs, u"أزرق"_qs}));
    EXPECT_EQ(attributeOptions(Language::Arabic, Attribute::Pet),
              QStringList({u"كلب"_qs, u"قط"_qs, u"حصان"_qs, u"عصفور"_qs, u"\"سمكة\""_qs}));
    EXPECT_EQ(attributeOptions(Language::Arabic, Attribute::Drink),
              QStringList({u"ماء"_qs, u"قهوة"_qs, u"شاي"_qs, u"حليب"_qs, u"بيرة"_qs}));
    EXPECT_EQ(
        attributeOptions(Language::Arabic, Attribute::Nationality),
        QStringList({u"ألماني"_qs, u"سويدي"_qs, u"نرويجي"_qs, u"دينماركي"_qs, u"بريطاني"_qs}));
    EXPECT_EQ(attributeOptions(Language::Arabic, Attribute::Smoke),
              QStringList({u"بال مال"_qs, u"دونهيل"_qs, u"بلوماستر"_qs, u"برينس"_qs, u"بلاند"_qs}));

    // The fish is the only option set apart: six characters with its quotes.
    EXPECT_EQ(attributeOptions(Language::Arabic, Attribute::Pet)[4].size(), 6);
    for (Language language : kBoth) {
        for (Attribute row : kRows) {
            const QStringList options = attributeOptions(language, row);
            EXPECT_EQ(options.size(), mindlark::kOptionCount);
            // The initial text is never one of the options, so it cannot pass for a choice.
            EXPECT_FALSE(options.contains(mindlark::attributeCaption(language, row)));
        }
    }
}

TEST(RiddleTexts, NamesAndCaptions) {
    EXPECT_EQ(mindlark::listName(Language::English, Attribute::Color, 1), "Color1");
    EXPECT_EQ(mindlark::listName(Language::Arabic, Attribute::Smoke, 5), "SmokeA5");
    EXPECT_EQ(mindlark::listName(Language::Arabic, Attribute::Nationality, 3), "NationalityA3");
    EXPECT_EQ(mindlark::houseCaption(Language::English, 4), "House 4");
    EXPECT_EQ(mindlark::houseCaption(Language::Arabic, 1), u"البيت 1"_qs);
    EXPECT_EQ(mindlark::attributeCaption(Language::Arabic, Attribute::Pet), u"الحيوان"_qs);
    EXPECT_EQ(mindlark::attributeOfRow(4), Attribute::Smoke);
    EXPECT_EQ(mindlark::attributeOfRow(9), Attribute::Color);

    const auto& arabic = mindlark::paneCaptions(Language::Arabic);
    EXPECT_EQ(arabic.refusalTitle, "Error");
    EXPECT_TRUE(arabic.sendInstruction.contains(QStringLiteral(u"جوابك, يجب")));
    EXPECT_EQ(arabic.title.back(), QChar(0x061F));  // the Arabic question mark
}
