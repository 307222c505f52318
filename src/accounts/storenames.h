#pragma once

#include "accounts/fields.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace mindlark::storenames {

// The store directory below the working directory, in the case the program creates it.
inline constexpr char16_t kDirectory[] = u"QK";
// The first-run marker in the working directory and the counter in the store
// directory share this name.
inline constexpr char16_t kCounterName[] = u"num.qk";
// The counter's path relative to the working directory.
inline constexpr char16_t kCounterPath[] = u"QK/num.qk";

// The part of a field file's name before the number label: "mnp%qk", "map%qk", ...
QString prefix(Field field);
// The suffix registration writes: "dN.qk", "dA.qk", "dE.qk", "du.qk", "dp.qk".
QString writeSuffix(Field field);
// The suffix sign-in reads: as written, except "dU.qk" and "dP.qk".
QString readSuffix(Field field);
// The field file's name in the writer's case, e.g. "mup%qk 7du.qk".
QString writeName(Field field, std::int64_t user);
// The field file's name as sign-in asks for it, e.g. "mup%qk 7dU.qk".
QString readName(Field field, std::int64_t user);

// What an entry of the store directory stands for.
struct ParsedName {
    bool isCounter = false;  // "num.qk"; field and user are then unused
    Field field = Field::Name;
    std::int64_t user = 0;
};
// Recognises the counter and the field files regardless of letter case. The label
// must be exactly what the program writes (" 7", never " 07" or "7"), since any
// other spelling names a file the program never reads.
std::optional<ParsedName> parse(QStringView fileName);

// `fileName` in the case the program writes it when it is a store name (the store
// directory included), otherwise unchanged; the first name tried on every lookup.
QString canonicalCase(const QString& fileName);

// Whether `name` is the store directory, the counter or a field file spelled
// exactly as the program writes it; a lookup finds such a name without an index.
bool isCanonical(const QString& name);

// The form in which two names compare equal when they differ only in letter case.
QString folded(QStringView name);

}  // namespace mindlark::storenames
