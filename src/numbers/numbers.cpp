#include "numbers/numbers.h"

#include <limits>

namespace mindlark {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Adds one decimal digit to a magnitude kept negative, so that the int64 minimum
// fits too; returns false once the value no longer fits.
bool appendDigit(std::int64_t& negativeValue, int digit) {
    if (negativeValue < (kMin + digit) / 10)
        return false;
    negativeValue = negativeValue * 10 - digit;
    return true;
}

}  // namespace

std::int64_t readNumberLeniently(QStringView text) {
    // Blanks are skipped everywhere in the leading number, as the old Val() did:
    // " 1 2" reads as 12.
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; };
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;  // kept negative
    bool saturated = false;
    for (; i < text.size(); ++i) {
        if (isBlank(text[i]))
            continue;
        if (!isDigit(text[i]))
            break;
        if (!saturated && !appendDigit(value, text[i].unicode() - u'0'))
            saturated = true;
    }
    if (saturated)
        return negative ? kMin : kMax;
    if (negative)
        return value;
    return value == kMin ? kMax : -value;
}

std::optional<std::int64_t> readNumberStrictly(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == u'-' || text[begin] == u'+')) {
        negative = text[begin] == u'-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    std::int64_t value = 0;  // kept negative
    for (qsizetype i = begin; i < end; ++i) {
        if (!isDigit(text[i]) || !appendDigit(value, text[i].unicode() - u'0'))
            return std::nullopt;
    }
    if (negative)
        return value;
    if (value == kMin)
        return std::nullopt;
    return -value;
}

QString numberText(std::int64_t n) {
    const QString digits = QString::number(n);
    return n >= 0 ? u' ' + digits : digits;
}

}  // namespace mindlark
