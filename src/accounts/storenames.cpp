#include "accounts/storenames.h"

#include "numbers/numbers.h"

#include <algorithm>
#include <cstdint>

namespace mindlark::storenames {

namespace {

struct FieldNames {
    Field field;
    const char16_t* prefix;
    const char16_t* writeSuffix;
    const char16_t* readSuffix;
};

constexpr FieldNames kNames[] = {
    {Field::Name, u"mnp%qk", u"dN.qk", u"dN.qk"},
    {Field::Age, u"map%qk", u"dA.qk", u"dA.qk"},
    {Field::Email, u"mep%qk", u"dE.qk", u"dE.qk"},
    {Field::UserName, u"mup%qk", u"du.qk", u"dU.qk"},
    {Field::Password, u"mpp%qk", u"dp.qk", u"dP.qk"},
};

const FieldNames& namesOf(Field field) {
    for (const FieldNames& names : kNames) {
        if (names.field == field)
            return names;
    }
    return kNames[0];
}

// Every prefix is six characters and every suffix five.
constexpr qsizetype kPrefixLength = 6;
constexpr qsizetype kSuffixLength = 5;

bool equalsIgnoringCase(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The user number of a label written as numberText() writes it, else nothing.
std::optional<std::int64_t> parseLabel(QStringView label) {
    if (label.size() < 2 || label[0] != u' ')
        return std::nullopt;
    const QStringView digits = label.mid(1);
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    if (digits.size() > 1 && digits[0] == u'0')
        return std::nullopt;
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

}  // namespace

QString prefix(Field field) {
    return QString::fromUtf16(namesOf(field).prefix);
}
QString writeSuffix(Field field) {
    return QString::fromUtf16(namesOf(field).writeSuffix);
}
QString readSuffix(Field field) {
    return QString::fromUtf16(namesOf(field).readSuffix);
}

// Prefix, number label and suffix in one allocation: a sign-in names two files
// of every user twice.
QString fieldFileName(const char16_t* prefix, std::int64_t user, const char16_t* suffix) {
    // The label (numberText(user)) is formatted in place, with no string of its
    // own: a sign-in names two files of every user in the store.
    char16_t digits[20];
    qsizetype count = 0;
    std::uint64_t magnitude = user < 0 ? 0 - std::uint64_t(user) : std::uint64_t(user);
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const QStringView before(prefix), after(suffix);
    QString name(before.size() + 1 + count + after.size(), Qt::Uninitialized);
    QChar* out = std::copy(before.begin(), before.end(), name.data());
    *out++ = user < 0 ? u'-' : u' ';
    out = std::reverse_copy(digits, digits + count, out);
    std::copy(after.begin(), after.end(), out);
    return name;
}

QString writeName(Field field, std::int64_t user) {
    return fieldFileName(namesOf(field).prefix, user, namesOf(field).writeSuffix);
}

QString readName(Field field, std::int64_t user) {
    return fieldFileName(namesOf(field).prefix, user, namesOf(field).readSuffix);
}

std::optional<ParsedName> parse(QStringView fileName) {
    if (equalsIgnoringCase(fileName, kCounterName))
        return ParsedName{true, Field::Name, 0};
    if (fileName.size() <= kPrefixLength + kSuffixLength)
        return std::nullopt;
    const QStringView head = fileName.first(kPrefixLength);
    const QStringView tail = fileName.last(kSuffixLength);
    for (const FieldNames& names : kNames) {
        if (!equalsIgnoringCase(head, names.prefix) ||
            !equalsIgnoringCase(tail, names.writeSuffix)) {
            continue;
        }
        const auto user = parseLabel(
            fileName.sliced(kPrefixLength, fileName.size() - kPrefixLength - kSuffixLength));
        if (!user)
            return std::nullopt;
        return ParsedName{false, names.field, *user};
    }
    return std::nullopt;
}

QString canonicalCase(const QString& fileName) {
    if (equalsIgnoringCase(fileName, kDirectory))
        return QString::fromUtf16(kDirectory);
    const auto parsed = parse(fileName);
    if (!parsed)
        return fileName;
    if (parsed->isCounter)
        return QString::fromUtf16(kCounterName);
    return writeName(parsed->field, parsed->user);
}

bool isCanonical(const QString& name) {
    if (name == QStringView(kDirectory))
        return true;
    return parse(name).has_value() && canonicalCase(name) == name;
}

QString folded(QStringView name) {
    return name.toString().toCaseFolded();
}

}  // namespace mindlark::storenames
