// Documents that Windows rich-edit readers accept although they bend RTF's rules,
// and code pages decoded the way Windows decodes them.
#include "rtf/rtf.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

using mindlark::rtf::read;

namespace {

QString units(std::initializer_list<char16_t> list) {
    QString s;
    for (char16_t u : list)
        s += QChar(u);
    return s;
}

// Each document must read, and give its expected text.
void expectTexts(std::initializer_list<std::pair<QByteArray, QString>> cases) {
    for (const auto& [document, expected] : cases) {
        const auto result = read(document);
        EXPECT_TRUE(result.ok) << document.toStdString() << ": " << result.error.toStdString();
        EXPECT_EQ(result.text, expected) << document.toStdString();
    }
}

QByteArray withTrailer(const char* trailer, qsizetype length) {
    return QByteArray("{\\rtf1 x\\par }") + QByteArray(trailer, length);
}

}  // namespace

TEST(RtfLenient, IgnoresWhatWritersLeaveAfterTheClosingBrace) {
    expectTexts({
        {withTrailer("\r\n", 2), "x"},
        {withTrailer("\0", 1), "x"},
        {withTrailer("\x1a", 1), "x"},
        {withTrailer("}", 1), "x"},
        {withTrailer("\r\n}}\r\n\0\x1a\0", 9), "x"},
    });
    // Text or a new group after the end is damage, not padding.
    for (const char* trailer : {"} y", "{", "\x1a x"}) {
        const auto result = read(withTrailer(trailer, qsizetype(strlen(trailer))));
        EXPECT_FALSE(result.ok) << trailer;
        EXPECT_TRUE(result.error.contains("after the closing brace")) << trailer;
    }
}

TEST(RtfLenient, DropsAnOutOfRangeUnicodeValueAndKeepsItsFallback) {
    expectTexts({
        {"{\\rtf1 a\\u128512?b}", "a?b"},
        {"{\\rtf1 a\\u65536?b}", "a?b"},
        {"{\\rtf1 a\\u-32769?b}", "a?b"},
        {"{\\rtf1 a\\u99999999999?b}", "a?b"},
        {"{\\rtf1\\uc2 a\\u70000 xyb}", "axyb"},
        // An out-of-range value that is itself a fallback is skipped with it.
        {"{\\rtf1 a\\u1587\\u70000?b}", units({'a', 0x633, '?', 'b'})},
    });
}

TEST(RtfLenient, ReadsNumbersPaddedWithLeadingZeros) {
    expectTexts({
        {"{\\rtf1 \\u00000001575?}", units({0x627})},
        {"{\\rtf1 \\u-0000000000001575?}", units({char16_t(65536 - 1575)})},
        {"{\\rtf1 \\fs0000000000000000000017 x}", "x"},
        {"{\\rtf1\\uc000000000002 \\u1575 ab}", units({0x627})},
    });
}

TEST(RtfLenient, SkipsOverlongControlWordsInIgnoredDestinations) {
    const QByteArray longWord(40, 'q');
    expectTexts({
        {"{\\rtf1 a{\\*\\" + longWord + "12 hidden}b}", "ab"},
        {"{\\rtf1 a{\\*\\x{\\" + longWord + " hidden}}b}", "ab"},
        {"{\\rtf1 a{\\info{\\author \\" + longWord + "-3 me}}b}", "ab"},
    });
    // In the text an overlong word still means the document is damaged.
    EXPECT_FALSE(read("{\\rtf1 a\\" + longWord + " b}").ok);
}

TEST(RtfCodePages, HebrewAndVietnameseKeepLettersAndMarksApart) {
    expectTexts({
        {"{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'d1\\'e0\\'c8 \\'e1\\'cc}",
         units({0x5E9, 0x5C1, 0x5D0, 0x5B8, ' ', 0x5D1, 0x5BC})},
        {"{\\rtf1\\ansi\\ansicpg1258 \\'61\\'ec\\'41\\'de}", units({'a', 0x301, 'A', 0x303})},
        // The same tables serve fonts whose charset names these code pages.
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset177 D;}{\\f1\\fcharset163 V;}}\\f0\\'e0\\'c8\\f1 "
         "\\'61\\'ec}",
         units({0x5D0, 0x5B8, 'a', 0x301})},
        {"{\\rtf1\\ansi\\ansicpg1255 \\'ff\\'80}", units({0xFFFD, 0x20AC})},
    });
}

TEST(RtfCodePages, ALeadByteTakesAPlainCharacterAsItsTrailByte) {
    expectTexts({
        {"{\\rtf1\\ansi\\ansicpg932 \\'83A\\'83C}", units({0x30A2, 0x30A4})},
        {"{\\rtf1{\\fonttbl{\\f1\\fcharset128 G;}}\\f1 \\'83A x}", units({0x30A2, ' ', 'x'})},
        // A backslash is a trail byte too when it is escaped.
        {"{\\rtf1\\ansi\\ansicpg932 \\'95\\\\}", units({0x8868})},
        // A space is never a trail byte; single-byte code pages pair nothing.
        {"{\\rtf1\\ansi\\ansicpg932 \\'83 A}", units({0xFFFD, ' ', 'A'})},
        {"{\\rtf1\\ansi\\ansicpg1252 \\'e9A}", units({0xE9, 'A'})},
    });
}

TEST(RtfCodePages, AnUndefinedDoubleBytePairIsOneReplacementCharacter) {
    expectTexts({
        {"{\\rtf1\\ansi\\ansicpg932 \\'85\\'40x}", units({0xFFFD, 'x'})},
        {"{\\rtf1\\ansi\\ansicpg932 \\'85@x}", units({0xFFFD, 'x'})},
        {"{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'85\\'40\\'82\\'a0}",
         units({0x3042, 0xFFFD, 0x3042})},
    });
}

TEST(RtfFontTable, AnEntryWithoutItsOwnNumberLeavesOtherFontsAlone) {
    expectTexts({
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset178 A;}{\\fcharset0\\f1 B;}}\\f0 \\'c7}", units({0x627})},
        // A charset written before the entry's number belongs to that entry.
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset178 A;}{\\fcharset177\\f1 B;}}\\f1 \\'e0}",
         units({0x5D0})},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset178 A;}{\\fcharset0 B;}}\\f0 \\'c7}", units({0x627})},
        {"{\\rtf1{\\fonttbl\\f0\\fcharset178 A;\\fcharset0 B;}\\f0 \\'c7}", units({0x627})},
    });
}

TEST(RtfUpr, ReadsTheUnicodeHalfOfAnUprGroup) {
    expectTexts({
        {"{\\rtf1 {\\upr{ansi text}{\\*\\ud{unicode text}}}}", "unicode text"},
        {"{\\rtf1 a{\\upr{\\'e1}{\\*\\ud{\\u1587?}}}b}", units({'a', 0x633, 'b'})},
        {"{\\rtf1 a{\\upr{x}{\\ud{y}}}b}", "ayb"},
        // \ud means nothing outside \upr: it stays an ignored destination.
        {"{\\rtf1 a{\\*\\ud{y}}b}", "ab"},
    });
}
