#pragma once

#include <array>

namespace mindlark::rtf {

// Bytes 0x80 to 0xFF of Windows-1255 and Windows-1258, one character per byte as
// Windows decodes them (no composition of a letter with its marks); U+FFFD for a
// byte the code page leaves undefined. Bytes below 0x80 are ASCII in both.
extern const std::array<char16_t, 128> kWindows1255UpperHalf;
extern const std::array<char16_t, 128> kWindows1258UpperHalf;

}  // namespace mindlark::rtf
