#pragma once

#include <QByteArray>

// Seams for tests only: no production source includes this header.
namespace mindlark::storefiles::testhooks {

// Called once a temporary file is complete, just before the rename, with both
// names relative to the directory being written. A hook that
// throws stands for a crash at that moment: the exception passes through
// replaceFile() without any clean-up.
using BeforeRename = void (*)(const QByteArray& temporaryName, const QByteArray& finalName);

// Installs `hook` for the whole process (nullptr removes it).
void setBeforeRename(BeforeRename hook);

}  // namespace mindlark::storefiles::testhooks
