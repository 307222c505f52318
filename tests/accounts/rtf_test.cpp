#include "accounts/rtf.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using mindlark::rtf::read;
using mindlark::rtf::write;

namespace {

// The text a document reads back as; fails the test when it does not read.
QString readBack(QByteArrayView document) {
    const auto result = read(document);
    EXPECT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.error.isEmpty());
    return result.text;
}

QString roundTrip(const QString& value) {
    return readBack(write(value));
}

}  // namespace

TEST(RtfWrite, ZeroIsTheThreeLineDocument) {
    EXPECT_EQ(
        write(QStringLiteral("0")),
        QByteArray("{\\rtf1\\fbidis\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "
                   "MS Sans Serif;}}\r\n"
                   "\\viewkind4\\uc1\\pard\\ltrpar\\lang10241\\f0\\fs17 0\r\n"
                   "\\par }\r\n"));
}

TEST(RtfWrite, PlainAsciiValuesOnlyChangeTheTextAfterFs17) {
    const QByteArray empty = write(QString());
    EXPECT_TRUE(empty.contains("\\fs17 \r\n\\par }\r\n"));
    EXPECT_TRUE(
        write(QStringLiteral("user name 12")).contains("\\fs17 user name 12\r\n\\par }\r\n"));
}

TEST(RtfWrite, EscapesWhatRtfGivesAMeaning) {
    EXPECT_TRUE(write(QStringLiteral("a\\b{c}d")).contains("\\fs17 a\\\\b\\{c\\}d\r\n"));
    EXPECT_TRUE(write(QStringLiteral("a\tb")).contains("\\fs17 a\\tab b\r\n"));
    EXPECT_TRUE(write(QStringLiteral("a\r\nb")).contains("\\fs17 a\\par\r\nb\r\n"));
    // Arabic letters and code units above 32767 as signed 16-bit \u numbers.
    EXPECT_TRUE(write(QString::fromUtf8("\u0633")).contains("\\fs17 \\u1587?\r\n"));
    EXPECT_TRUE(write(QString::fromUtf8("\U0001F600")).contains("\\fs17 \\u-10179?\\u-8704?\r\n"));
    EXPECT_TRUE(write(QStringLiteral("a\rb\nc")).contains("\\fs17 a\\u13?b\\u10?c\r\n"));
}

TEST(RtfRoundTrip, KeepsEveryKindOfCharacter) {
    const QString values[] = {
        QString(),
        QStringLiteral("0"),
        QStringLiteral("12"),
        QStringLiteral(" leading and trailing "),
        QStringLiteral("  "),
        QStringLiteral(" 7"),
        QString::fromUtf8("\u0645\u0631\u062D\u0628\u0627 \u0628\u0643"),
        QString::fromUtf8("emoji \U0001F600\U0001F9E9 end"),
        QStringLiteral("{braces} and \\backslash\\ and \\par and \\u1587?"),
        QStringLiteral("tab\there\t"),
        QStringLiteral("\tstarts with a tab"),
        QStringLiteral("line one\r\nline two\r\n"),
        QStringLiteral("\r\n"),
        QStringLiteral("\r\n\r\n"),
        QStringLiteral("\r\n leading space after a break\r\n7 digit after one"),
        QStringLiteral("lone\rCR and lone\nLF and \n\r reversed"),
        QStringLiteral("?? question marks after \u00e9?"),
        QString(QChar(0x0001)) + QChar(0x001F) + QChar(0x007F) + QChar(0xFFFF) + QChar(0xD800),
    };
    for (const QString& value : values) {
        EXPECT_EQ(roundTrip(value), value) << value.toStdString();
    }
}

TEST(RtfRoundTrip, RandomMixturesComeBackExactly) {
    // A fixed seed keeps any failure repeatable.
    QRandomGenerator rng(20240611);
    const QString pieces[] = {
        QStringLiteral(" "),
        QStringLiteral("\r\n"),
        QStringLiteral("\r"),
        QStringLiteral("\n"),
        QStringLiteral("\t"),
        QStringLiteral("\\"),
        QStringLiteral("{"),
        QStringLiteral("}"),
        QStringLiteral("?"),
        QStringLiteral("0"),
        QStringLiteral("a"),
        QStringLiteral("Z"),
        QStringLiteral("par"),
        QStringLiteral("\\u12?"),
        QString::fromUtf8("\u0627\u0644\u0639\u0631\u0628\u064A\u0629"),
        QString::fromUtf8("\U0001F600"),
        QString::fromUtf8("\u00e9\u00fc"),
        QString(QChar(0)),
    };
    const int pieceCount = int(std::size(pieces));
    for (int i = 0; i < 5000; ++i) {
        QString value;
        const int length = int(rng.bounded(12));
        for (int j = 0; j < length; ++j)
            value += pieces[rng.bounded(pieceCount)];
        if (rng.bounded(4) == 0)
            value.prepend(QLatin1Char(' '));
        if (rng.bounded(4) == 0)
            value.append(QLatin1Char(' '));
        ASSERT_EQ(roundTrip(value), value) << "case " << i;
    }
}
