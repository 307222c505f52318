#include "accounts/storeinventory.h"

#include "accounts/foldeddirectory.h"
#include "accounts/storefiles.h"
#include "accounts/storenames.h"
#include "lock/storelock.h"
#include "lock/temporaries.h"

#include <algorithm>
#include <limits>

namespace mindlark {

Outcome<StoreInventory> StoreInventory::scan(const QByteArray& directory) {
    FoldedDirectory folder(directory);
    const Outcome<QHash<QString, QStringList>> listed = folder.listing();
    if (!listed.ok())
        return listed.failure();
    return of(listed.value());
}

StoreInventory StoreInventory::of(const QHash<QString, QStringList>& listing,
                                  QList<ListedAs> listedAs) {
    StoreInventory inventory;
    inventory.listedAs_ = std::move(listedAs);
    for (auto it = listing.cbegin(); it != listing.cend(); ++it) {
        const auto parsed = storenames::parse(it.value().first());
        if (parsed && parsed->isCounter) {
            inventory.counterNames_ += it.value();
        } else if (parsed) {
            const auto slot =
                std::find(kFields.begin(), kFields.end(), parsed->field) - kFields.begin();
            inventory.users_[parsed->user][std::size_t(slot)] = it.value();
        } else {
            for (const QString& name : it.value()) {
                if (name == StoreLock::directoryName() || name == StoreLock::queueName() ||
                    name == StoreLock::legacyFileName()) {
                    inventory.lockEntries_.append(name);
                } else {
                    (temporaries::isTemporaryName(name) ? inventory.temporaries_
                                                        : inventory.others_)
                        .append(name);
                }
            }
        }
    }
    inventory.temporaries_.sort();
    inventory.others_.sort();
    return inventory;
}

std::int64_t StoreInventory::rebuiltCounter() const {
    // A user numbered so high that no number is left after it could never be
    // followed by another, so it raises nothing.
    for (auto it = users_.rbegin(); it != users_.rend(); ++it) {
        if (it->first < std::numeric_limits<std::int64_t>::max() - 1)
            return it->first + 1;
    }
    return 0;
}

QString StoreInventory::preferred(const QStringList& names, const QString& canonical) {
    if (names.contains(canonical))
        return canonical;
    return names.isEmpty() ? QString() : names.first();
}

}  // namespace mindlark
