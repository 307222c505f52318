// Documents that Windows rich-edit readers accept although they bend RTF's rules,
// and code pages decoded the way Windows decodes them.
#include "rtf/rtf.h"

#include <gtest/gtest.h>

#include "rtftestvalues.h"

#include <initializer_list>
#include <utility>

using mindlark::rtf::read;
using mindlark::rtftest::units;

namespace {

// Each document must read, and give its expected text.
void expectTexts(std::initializer_list<std::pair<QByteArray, QString>> cases) {
    for (const auto& [document, expected] : cases) {
        const auto result = read(document);
        EXPECT_TRUE(result.ok) << document.toStdString() << ": " << result.error.toStdString();
        EXPECT_EQ(result.text, expected) << document.toStdString();
    }
}

const QByteArray kLongWord(40, 'q');

}  // namespace

TEST(RtfLenient, ReadsTheMalformedDocumentsRichEditReadersTake) {
    expectTexts({
        // Whatever follows the closing brace: padding, text, groups, binary data.
        {QByteArray("{\\rtf1 x\\par }\r\n", 16), "x"},
        {QByteArray("{\\rtf1 x\\par }\0", 15), "x"},
        {QByteArray("{\\rtf1 x\\par }}\r\n}\0\x1a\0", 21), "x"},
        {"{\\rtf1 x}} y", "x"},
        {"{\\rtf1 x}{", "x"},
        {"{\\rtf1 x}{\\rtf1 y}", "x"},
        {QByteArray("{\\rtf1 x}\x1a\xff\0{\\", 14), "x"},
        // A \u value outside 16 bits is dropped and its fallback kept.
        {"{\\rtf1 a\\u128512?b}", "a?b"},
        {"{\\rtf1 a\\u-32769?b}", "a?b"},
        {"{\\rtf1 a\\u99999999999?b}", "a?b"},
        {"{\\rtf1\\uc2 a\\u70000 xyb}", "axyb"},
        {"{\\rtf1 a\\u1587\\u70000?b}", units({'a', 0x633, '?', 'b'})},
        // Leading zeros do not count towards a number's ten digits.
        {"{\\rtf1 \\u00000001575?}", units({0x627})},
        {"{\\rtf1 \\u-0000000000001575?}", units({char16_t(65536 - 1575)})},
        {"{\\rtf1\\uc000000000002 \\u1575 ab}", units({0x627})},
        // Overlong control words where nothing is read.
        {"{\\rtf1 a{\\*\\" + kLongWord + "12 hidden}b}", "ab"},
        {"{\\rtf1 a{\\info{\\author \\" + kLongWord + "-3 me}}b}", "ab"},
    });
    // An overlong word or a huge number in the text is damage.
    for (const QByteArray& damaged :
         {"{\\rtf1 a\\" + kLongWord + " b}", QByteArray("{\\rtf1 \\fs00099999999999 b}")}) {
        const auto result = read(damaged);
        EXPECT_FALSE(result.ok) << damaged.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
    }
}

TEST(RtfWindowsDecoding, GivesTheCharactersWindowsGives) {
    expectTexts({
        // Windows-1255 and 1258 keep a letter and its mark apart.
        {"{\\rtf1\\ansi\\ansicpg1255 \\'f9\\'d1\\'e0\\'c8 \\'e1\\'cc}",
         units({0x5E9, 0x5C1, 0x5D0, 0x5B8, ' ', 0x5D1, 0x5BC})},
        {"{\\rtf1\\ansi\\ansicpg1258 \\'61\\'ec\\'41\\'de}", units({'a', 0x301, 'A', 0x303})},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset177 D;}{\\f1\\fcharset163 V;}}\\f0\\'e0\\'c8\\f1 "
         "\\'61\\'ec\\'ff}",
         units({0x5D0, 0x5B8, 'a', 0x301, 0xFF})},
        {"{\\rtf1\\ansi\\ansicpg1255 \\'ff\\'80}", units({0xFFFD, 0x20AC})},
        // A lead byte takes a plain or escaped character as its trail byte, never a space.
        {"{\\rtf1\\ansi\\ansicpg932 \\'83A\\'83C}", units({0x30A2, 0x30A4})},
        {"{\\rtf1{\\fonttbl{\\f1\\fcharset128 G;}}\\f1 \\'83A x}", units({0x30A2, ' ', 'x'})},
        {"{\\rtf1\\ansi\\ansicpg932 \\'95\\\\}", units({0x8868})},
        {"{\\rtf1\\ansi\\ansicpg932 \\'83 A}", units({0xFFFD, ' ', 'A'})},
        {"{\\rtf1\\ansi\\ansicpg1252 \\'e9A}", units({0xE9, 'A'})},
        // An undefined pair is one character.
        {"{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'85\\'40\\'85@x}",
         units({0x3042, 0xFFFD, 0xFFFD, 'x'})},
        // User-defined characters are the private-use characters Windows gives them: the
        // first, a middle and the last of each area, row ends included.
        {"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset136 PMingLiU;}}\\f0 "
         "\\'84\\'68\\'81\\'40\\'8d\\'fe\\'8e\\'40\\'a0\\'fe\\'fa\\'40\\'fe\\'fe\\par}",
         units({0xF0B7, 0xEEB8, 0xF6B0, 0xE311, 0xEEB7, 0xE000, 0xE310})},
        {"{\\rtf1\\ansi\\ansicpg936 \\'aa\\'a1\\'af\\'fe\\'f8\\'a1\\'fe\\'fe\\'a1\\'40\\'a1\\'7e"
         "\\'a1\\'80\\'a7\\'a0}",
         units({0xE000, 0xE233, 0xE234, 0xE4C5, 0xE4C6, 0xE504, 0xE505, 0xE765})},
        {"{\\rtf1\\ansi\\ansicpg949 \\'c9\\'a1\\'c9\\'fe\\'fe\\'a1\\'fe\\'fe}",
         units({0xE000, 0xE05D, 0xE05E, 0xE0BB})},
        // Beside those areas an undefined pair stays one U+FFFD.
        {"{\\rtf1\\ansi\\ansicpg949 \\'c9\\'41\\'c9\\'a1}", units({0xFFFD, 0xE000})},
        // Mac code pages, by \\mac, \\ansicpg or a font's Mac charset, as Windows reads
        // them where the C library does not.
        {"{\\rtf1\\mac \\'bd\\'c6\\'f0\\'db\\'8e}", units({0x2126, 0x2206, 0xF8FF, 0x20AC, 0xE9})},
        {"{\\rtf1\\ansi\\ansicpg10007 \\'a2\\'b6\\'ff\\'80}", units({0xA2, 0x2202, 0xA4, 0x410})},
        {"{\\rtf1\\ansi\\ansicpg10079 \\'a0\\'db\\'dc\\'f6}", units({0xDD, 0xA4, 0xD0, 0x2C6})},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset88 A;}{\\f1\\fcharset89 B;}}\\f0\\'8c\\f1\\'8c}",
         units({0x106, 0x41C})},
        // A font table entry's charset written before its number belongs to it alone.
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset178 A;}{\\fcharset0\\f1 B;}}\\f0 \\'c7\\f1 \\'c7}",
         units({0x627, 0xC7})},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset178 A;}{\\fcharset0 B;}}\\f0 \\'c7}", units({0x627})},
        {"{\\rtf1{\\fonttbl\\f0\\fcharset178 A;\\fcharset0 B;}\\f0 \\'c7}", units({0x627})},
        // An \upr group gives its \ud text; \ud means nothing outside one.
        {"{\\rtf1 {\\upr{ansi text}{\\*\\ud{unicode text}}}}", "unicode text"},
        {"{\\rtf1 a{\\upr{\\'e1}{\\*\\ud{\\u1587?}}}b}", units({'a', 0x633, 'b'})},
        {"{\\rtf1 a{\\upr{x}{\\ud{y}}}b}", "ayb"},
        {"{\\rtf1 a{\\*\\ud{y}}b}", "ab"},
    });
}
