#pragma once

#include <QByteArray>

// Seams for tests. The store's own code calls through them (storefiles.cpp
// before a file takes its final name, accountstore.cpp when a scan starts) and only tests set
// them; each acts on the whole process.
namespace mindlark::testhooks {

// Called just before a file takes its final name, with both names relative to
// the directory being written: once a temporary is complete, before its rename;
// before a new file is made under its own name, with no temporary name. A hook
// that throws stands for a crash at that moment: the exception passes through
// without any clean-up.
using BeforePlacing = void (*)(const QByteArray& temporaryName, const QByteArray& finalName);
// Installs `hook` (nullptr removes it).
void setBeforePlacing(BeforePlacing hook);

// How many reads every scan, and changes of modes a first start, keeps in
// flight: 0 does each in turn, as on a local disk; a negative number, the
// default, chooses by the store's file system.
void setReadsInFlight(int reads);

}  // namespace mindlark::testhooks
