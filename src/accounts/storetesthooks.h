#pragma once

#include <QByteArray>

// Seams for tests. The store's own code calls through them (storefiles.cpp
// before every rename, accountstore.cpp when a scan starts) and only tests set
// them; each acts on the whole process.
namespace mindlark::testhooks {

// Called once a temporary file is complete, just before the rename, with both
// names relative to the directory being written. A hook that throws stands for a
// crash at that moment: the exception passes through replaceFile() without any
// clean-up.
using BeforeRename = void (*)(const QByteArray& temporaryName, const QByteArray& finalName);
// Installs `hook` (nullptr removes it).
void setBeforeRename(BeforeRename hook);

// How many reads every scan, and changes of modes a first start, keeps in
// flight: 0 does each in turn, as on a local disk; a negative number, the
// default, chooses by the store's file system.
void setReadsInFlight(int reads);

}  // namespace mindlark::testhooks
