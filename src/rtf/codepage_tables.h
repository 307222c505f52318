#pragma once

#include <array>

namespace mindlark::rtf {

// Bytes 0x80 to 0xFF of Windows-1255 and Windows-1258, one character per byte as
// Windows decodes them (no composition of a letter with its marks); U+FFFD for a
// byte the code page leaves undefined. Bytes below 0x80 are ASCII in both.
extern const std::array<char16_t, 128> kWindows1255UpperHalf;
extern const std::array<char16_t, 128> kWindows1258UpperHalf;

// Bytes 0x80 to 0xFF of the Mac code pages as Windows decodes them: Roman (10000),
// Cyrillic (10007), Central European (10029) and Icelandic (10079). Bytes below 0x80
// are ASCII in all.
extern const std::array<char16_t, 128> kWindows10000UpperHalf;
extern const std::array<char16_t, 128> kWindows10007UpperHalf;
extern const std::array<char16_t, 128> kWindows10029UpperHalf;
extern const std::array<char16_t, 128> kWindows10079UpperHalf;

}  // namespace mindlark::rtf
