#include "accounts/storeinventory.h"

#include "accounts/foldeddirectory.h"
#include "accounts/storefiles.h"
#include "accounts/storelock.h"
#include "accounts/storenames.h"

#include <algorithm>

namespace mindlark {

Outcome<StoreInventory> StoreInventory::scan(const QByteArray& directory) {
    FoldedDirectory folder(directory);
    const Outcome<QHash<QString, QStringList>> listed = folder.listing();
    if (!listed.ok())
        return listed.failure();
    const QHash<QString, QStringList>& listing = listed.value();
    StoreInventory inventory;
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
                if (name == StoreLock::fileName())
                    inventory.lock_ = name;
                else
                    (storefiles::isTemporaryName(name) ? inventory.temporaries_ : inventory.others_)
                        .append(name);
            }
        }
    }
    inventory.temporaries_.sort();
    inventory.others_.sort();
    return inventory;
}

QString StoreInventory::preferred(const QStringList& names, const QString& canonical) {
    if (names.contains(canonical))
        return canonical;
    return names.isEmpty() ? QString() : names.first();
}

}  // namespace mindlark
