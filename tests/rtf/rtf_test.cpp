#include "rtf/rtf.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "rtftestvalues.h"

using mindlark::rtf::read;
using mindlark::rtf::write;
using mindlark::rtftest::units;

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
    for (int i = 0; i < 5000; ++i) {
        QString value = mindlark::rtftest::randomValue(rng, 11);
        if (rng.bounded(4) == 0)
            value.prepend(QLatin1Char(' '));
        if (rng.bounded(4) == 0)
            value.append(QLatin1Char(' '));
        ASSERT_EQ(roundTrip(value), value) << "case " << i;
    }
}

// Documents in the shapes a Windows rich-edit control saves.

TEST(RtfRichEdit, DecodesHexBytesInTheFontsCodePage) {
    const char* latin =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 caf\\'e9 \\'80 \\'93q\\'94\\par\r\n}\r\n";
    EXPECT_EQ(readBack(latin), units({'c', 'a', 'f', 0xE9, ' ', 0x20AC, ' ', 0x201C, 'q', 0x201D}));

    // Arabic bytes under an Arabic font, Latin ones under the Latin font, in one paragraph.
    const char* arabic =
        "{\\rtf1\\ansi\\ansicpg1256\\deff0\\nouicompat\\deflang1025{\\fonttbl{"
        "\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fnil\\fcharset178 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs22 Hi \\'e9 \\f1\\rtlch\\'e3\\'d1\\'cd\\'c8\\'c7\\f0\\ltrch "
        ".\\par\r\n}";
    EXPECT_EQ(readBack(arabic),
              units({'H', 'i', ' ', 0xE9, ' ', 0x645, 0x631, 0x62D, 0x628, 0x627, '.'}));

    // Without a charset the font's bytes follow \ansicpg; \cpg beats both.
    EXPECT_EQ(readBack("{\\rtf1\\ansi\\ansicpg1256{\\fonttbl{\\f0 Arial;}}\\f0 \\'c7}"),
              units({0x627}));
    EXPECT_EQ(readBack("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1255 David;}}\\f0 \\'f9}"),
              units({0x5E9}));
    // Font table entries without their own groups, and the default font by \deff.
    EXPECT_EQ(readBack("{\\rtf1\\ansi\\deff1{\\fonttbl\\f0\\fcharset0 A;\\f1\\fcharset177 B;}\\'f9"
                       "\\'ec\\'e5\\'ed}"),
              units({0x5E9, 0x5DC, 0x5D5, 0x5DD}));
}

TEST(RtfRichEdit, DecodesDoubleByteCodePagesAcrossConsecutiveEscapes) {
    const char* japanese =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 MS "
        "Gothic;}}\\f1 \\'82\\'a0\\'93\\'fa\\f0  x}";
    EXPECT_EQ(readBack(japanese), units({0x3042, 0x65E5, ' ', 'x'}));
    // A lead byte without its trail byte and an undefined byte become U+FFFD, not a failure.
    EXPECT_EQ(readBack("{\\rtf1{\\fonttbl{\\f1\\fcharset128 G;}}\\f1 \\'82 a}"),
              units({0xFFFD, ' ', 'a'}));
    EXPECT_EQ(readBack("{\\rtf1\\ansi \\'81}"), units({0xFFFD}));
    // A run longer than the converter's buffer comes out whole and in order.
    QByteArray longRun = "{\\rtf1{\\fonttbl{\\f1\\fcharset128 G;}}\\f1 ";
    QString expected;
    for (int i = 0; i < 3000; ++i) {
        longRun += i % 2 == 0 ? "\\'82\\'a0" : "\\'93\\'fa";
        expected += QChar(i % 2 == 0 ? 0x3042 : 0x65E5);
    }
    EXPECT_EQ(readBack(longRun + "}"), expected);
    // Windows-1255 holds a letter back for a possible accent; it must still come first.
    EXPECT_EQ(readBack("{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'ff\\'f9}"),
              units({0x5E9, 0xFFFD, 0x5E9}));
}

TEST(RtfRichEdit, SkipsUnicodeFallbacksByTheGroupsUcCount) {
    EXPECT_EQ(readBack("{\\rtf1\\uc1 \\u1587?\\u-10179?\\u-8704?}"),
              units({0x633, 0xD83D, 0xDE00}));
    EXPECT_EQ(readBack("{\\rtf1\\uc0 \\u1587\\u1604 x}"), units({0x633, 0x644, 'x'}));
    // Each \'hh is one fallback character, as is a whole control word.
    EXPECT_EQ(readBack("{\\rtf1\\uc2 \\u12354\\'82\\'a0x}"), units({0x3042, 'x'}));
    EXPECT_EQ(readBack("{\\rtf1\\uc1 \\u8212\\emdash x}"), units({0x2014, 'x'}));
    EXPECT_EQ(readBack("{\\rtf1\\uc2 \\u233 ab c}"), units({0xE9, ' ', 'c'}));
    // \uc is group-local, and a closing brace ends a pending fallback.
    EXPECT_EQ(readBack("{\\rtf1 {\\uc3 \\u233 abc}\\u233 ?d}"), units({0xE9, 0xE9, 'd'}));
    EXPECT_EQ(readBack("{\\rtf1\\uc5 {\\u233 a}bc}"), units({0xE9, 'b', 'c'}));
}

TEST(RtfRichEdit, TurnsBreaksAndSpecialCharactersIntoText) {
    EXPECT_EQ(readBack("{\\rtf1 one\\par\r\ntwo\\par three\\line four\\par}"),
              QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
    // Only the last paragraph mark is dropped; a \line before it stays.
    EXPECT_EQ(readBack("{\\rtf1 a\\line\\par }"), QStringLiteral("a\r\n"));
    EXPECT_EQ(readBack("{\\rtf1 a\\par\\par }"), QStringLiteral("a\r\n"));
    EXPECT_EQ(readBack("{\\rtf1 a}"), QStringLiteral("a"));
    EXPECT_EQ(readBack("{\\rtf1 a\\tab b\\~c\\-d\\_e\\emdash\\endash\\bullet\\lquote\\rquote"
                       "\\ldblquote\\rdblquote}"),
              units({'a', '\t', 'b', 0xA0, 'c', 0xAD, 'd', 0x2011, 'e', 0x2014, 0x2013, 0x2022,
                     0x2018, 0x2019, 0x201C, 0x201D}));
    EXPECT_EQ(readBack("{\\rtf1 \\\\\\{\\}}"), QStringLiteral("\\{}"));
}

TEST(RtfRichEdit, LeavesOutTablesAndHiddenDestinations) {
    const char* document =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial{\\*\\panose 020b0604}"
        "{\\*\\falt Helvetica};}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}\r\n"
        "{\\info{\\title The title}{\\author Someone}}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}{\\*\\unknownthing with text}\r\n"
        "\\viewkind4\\uc1\\pard\\cf1\\f0 Visible{\\pict\\wmetafile8\\picw10 0a0b0c\\bin3 {}}}"
        "{\\*\\bkmkstart x} text \\bin2 {}{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}"
        "\\par\r\n}\r\n";
    EXPECT_EQ(readBack(document), QStringLiteral("Visible text link"));
    // A cell of a table inside a table ends as any cell does; the table's flattened
    // copy for readers that know no nesting is left out.
    EXPECT_EQ(readBack("{\\rtf1\\pard\\intbl Name\\nestcell John\\nestcell{\\*\\nesttableprops"
                       "\\trowd\\cellx900\\nestrow}{\\nonesttables Name\\tab John\\par}"
                       "\\cell\\row}"),
              QStringLiteral("Name\tJohn\t\t"));
    // List definitions outside their tables, whole or in parts.
    EXPECT_EQ(readBack("{\\rtf1 a{\\list\\listtemplateid1{\\listlevel{\\leveltext\\'02\\'00.;}}"
                       "{\\listname List1382206859_1;}}{\\list w}{\\listlevel x}{\\leveltext\\'01;}"
                       "{\\levelnumbers\\'01;}{\\listname y;}{\\listoverride\\ls1 z}b}"),
              QStringLiteral("ab"));
}

TEST(RtfRichEdit, KeepsTheTextAfterAnIgnorableMarkAndAWordItKnows) {
    const std::pair<const char*, QString> cases[] = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\f0\\*\\cs7 john}\\par}", "john"},
        {"{\\rtf1 a{\\*\\cs10\\b b}{\\*\r\n\\ul c}d}", "abcd"},
        // Unknown words and known destinations still hide their groups, and a known word
        // does not bring back the text of a group already hidden.
        {"{\\rtf1 a{\\*\\csx b}{\\*\\fldinst c}{\\info{\\*\\cs1 d}}{\\* e}f}", "af"},
    };
    for (const auto& [document, expected] : cases)
        EXPECT_EQ(readBack(document), expected) << document;
}

namespace {

// The reason a document is refused; fails the test when it is read.
QString refusal(QByteArrayView document) {
    const auto result = read(document);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    return result.error;
}

}  // namespace

TEST(RtfHostile, RefusesWhatIsNotRtf) {
    EXPECT_EQ(refusal(""), "not an RTF document");
    EXPECT_EQ(refusal("0"), "not an RTF document");
    EXPECT_EQ(refusal("{\\rt"), "not an RTF document");
    EXPECT_EQ(refusal("<html>{\\rtf1 x}</html>"), "not an RTF document");
}

TEST(RtfHostile, RefusesTruncatedDocuments) {
    EXPECT_TRUE(refusal("{\\rtf1 {a}").contains("truncated"));
    EXPECT_TRUE(refusal("{\\rtf1 a\\").contains("truncated"));
    EXPECT_TRUE(refusal("{\\rtf1 a\\'4").contains("truncated"));
    EXPECT_TRUE(refusal("{\\rtf1 a\\'zz}").contains("\\'"));
    // Every cut of a real document short of its closing brace is refused.
    const QByteArray whole = write(QString::fromUtf8("a\u0633{\\}\r\n\tb"));
    const qsizetype closing = whole.lastIndexOf('}');
    for (qsizetype cut = 0; cut < closing; ++cut) {
        EXPECT_FALSE(read(QByteArrayView(whole).first(cut)).ok) << cut;
    }
}

TEST(RtfHostile, RefusesNestingBeyondTheLimitWithoutRecursing) {
    const auto nested = [](int depth) {
        return "{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "}";
    };
    // As deep as a mail that quotes mail nests, and far deeper, reads.
    EXPECT_EQ(readBack(nested(2714)), QStringLiteral("x"));
    EXPECT_EQ(readBack(nested(50000)), QStringLiteral("x"));
    // Nesting that only a hostile document has, well within the size limit, does not.
    EXPECT_TRUE(refusal(nested(500000)).contains("nested too deeply"));
}

TEST(RtfHostile, RefusesHugeNumbersAndBinaryDataPastTheEnd) {
    EXPECT_TRUE(refusal("{\\rtf1 \\fs99999999999 x}").contains("number too large"));
    EXPECT_TRUE(refusal("{\\rtf1 \\fs2147483648 x}").contains("number too large"));
    EXPECT_TRUE(refusal("{\\rtf1 \\bin2147483647 x}").contains("past the end"));
    EXPECT_TRUE(refusal("{\\rtf1 {\\pict\\bin10 abc}}").contains("past the end"));
    EXPECT_TRUE(refusal("{\\rtf1 \\bin-5 x}").contains("negative"));
    EXPECT_TRUE(
        refusal(QByteArray("{\\rtf1 \\") + QByteArray(40, 'a') + " x}").contains("too long"));
    // The largest values that are still allowed read.
    EXPECT_EQ(readBack("{\\rtf1 \\fs2147483647 \\uc0\\u65535\\u-32768}"), units({0xFFFF, 0x8000}));
}

TEST(RtfHostile, SurvivesGarbageAndHugeDocuments) {
    QRandomGenerator rng(7);
    for (int i = 0; i < 2000; ++i) {
        QByteArray garbage = "{\\rtf1 ";
        const int length = int(rng.bounded(200));
        for (int j = 0; j < length; ++j) {
            // Mostly RTF's own characters, so the garbage reaches deep into the reader.
            static const char kAlphabet[] = "{}\\'*ub0123456789afpq -\r\n\x80\xff\0";
            garbage += rng.bounded(3) == 0 ? char(rng.bounded(256))
                                           : kAlphabet[rng.bounded(int(sizeof kAlphabet))];
        }
        const auto result = read(garbage);
        EXPECT_EQ(result.ok, result.error.isEmpty());
    }

    const QByteArray tooLarge = "{\\rtf1 " + QByteArray(17 * 1024 * 1024, 'x') + "}";
    EXPECT_EQ(refusal(tooLarge), "document too large");

    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 5000; ++i)
        fonts += "\\f" + QByteArray::number(i) + " F;";
    fonts += "}x}";
    EXPECT_TRUE(refusal(fonts).contains("fonts"));
}
