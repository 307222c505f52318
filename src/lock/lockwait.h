#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "lock/copyidentity.h"

namespace mindlark {

// The moments of a lock's life at which a copy may be held up (a laptop's lid
// closed, a network stalled): tests force their pauses there.
enum class LockStep {
    Made,       // the lock directory made, this copy's token not yet in it
    Taken,      // the token in place, before the copy checks it was not held up
    Refreshed,  // about to write a new beat into its token
    Confirmed,  // the token proven there, just before a file is put in place
    Releasing,  // about to remove its own token
    Breaking,   // a stale token judged, about to be removed
};

// How a change to the store waits for another copy of the game that holds the
// store's lock, and how the wait is shown. The clock, the pause and the copy's
// identity are injectable so that tests need not wait, nor run on two machines.
struct LockWait {
    // Milliseconds since any fixed moment, counting time the machine slept; the
    // boot-time clock when empty.
    std::function<std::int64_t()> clock;
    // Waits about `milliseconds` before the next try; sleeps when empty.
    std::function<void(int milliseconds)> pause;
    // When the player is told; and how long a wait may see no progress (no copy
    // taking the lock) before the change is given up with nothing written.
    std::int64_t noticeAfterMs = 2000;
    std::int64_t giveUpAfterMs = 30000;
    // Called once, noticeAfterMs into a wait, with the text to show.
    std::function<void(const QString& notice)> onWaiting;
    // Called at each step of the lock; tests hold a copy up there.
    std::function<void(LockStep)> atStep;
    // Who this copy says it is in the lock; CopyIdentity::self() when empty.
    std::optional<CopyIdentity> identity;
};

}  // namespace mindlark
