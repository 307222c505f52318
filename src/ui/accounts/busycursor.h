#pragma once

#include <QApplication>
#include <QCursor>

namespace mindlark {

// Shows the busy cursor for as long as it lives, so a store scan that throws
// still gives the pointer back.
class BusyCursor {
public:
    // Puts the busy cursor over the whole application.
    BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::BusyCursor)); }
    // Restores the cursor that was shown before.
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace mindlark
