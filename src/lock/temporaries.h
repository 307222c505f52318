#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

// Who made a temporary file in a shared store, and when one is nobody's any more.
// Every copy of the game names its temporaries for itself, so that no copy, on
// this machine or another, ever renames or removes one it did not make, unless
// it has proven that copy gone.
namespace mindlark::temporaries {

// The copy of the game that wrote a temporary, as its name says.
struct Owner {
    QString host;  // as CopyIdentity::fileNameHost() spells it
    QString boot;  // the first characters of its machine's boot id
    std::int64_t pid = 0;
    bool operator==(const Owner&) const = default;
};

// Whether `name` is a temporary of a write that may not have finished; such names
// never fold to a store name.
bool isTemporaryName(QStringView name);
// The owner a temporary's name gives; nothing for temporaries of earlier versions.
std::optional<Owner> ownerOf(QStringView name);
// How this process names itself in its temporaries and lock tokens.
const Owner& self();
// "HOST.BOOT.PID.UNIQUE": this process, and a part no other name of it shares.
QByteArray uniqueTag();
// A fresh temporary's name for `name`, unique to this process.
QByteArray nameFor(const QByteArray& name);
// The part of a machine's boot id that temporaries carry.
QString bootTag(const QString& boot);
// The owner named by a tag that uniqueTag() made; nothing when it is none.
std::optional<Owner> ownerOfTag(QStringView tag);

// Removes the temporaries among `names` in `directory` that no write can still
// finish: those of a process of this machine that has ended, those of `gone` (a
// copy whose lock was found dead), and those untouched for an hour, far longer
// than any write takes. A live copy's temporaries, here or on another machine,
// stay. Best effort; returns how many went.
int removeAbandoned(int directory, const QStringList& names,
                    const std::optional<Owner>& gone = std::nullopt);

}  // namespace mindlark::temporaries
