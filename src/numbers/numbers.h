#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace mindlark {

// The lenient reading: the leading decimal number of the text, with spaces, tabs
// and line feeds ignored, else 0. Out-of-range values saturate at the int64 limits.
std::int64_t readNumberLeniently(QStringView text);

// The strict reading: the whole text, apart from surrounding spaces, must be a
// decimal number (an optional sign, then digits) that fits in 64 bits.
std::optional<std::int64_t> readNumberStrictly(QStringView text);

// The number text of the answer code and the store's file names: " 0", " 12", "-1".
QString numberText(std::int64_t n);

}  // namespace mindlark
