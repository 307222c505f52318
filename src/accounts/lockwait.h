#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace mindlark {

// How long a change to the store waits for another copy of the game that holds
// the store's lock, and how the wait is shown. The clock and the pause are
// injectable so that tests need not wait.
struct LockWait {
    // Milliseconds since any fixed moment; a steady clock when empty.
    std::function<std::int64_t()> clock;
    // Waits about `milliseconds` before the next try; sleeps when empty.
    std::function<void(int milliseconds)> pause;
    // When the player is told, and when the change is given up with nothing written.
    std::int64_t noticeAfterMs = 2000;
    std::int64_t giveUpAfterMs = 30000;
    // Called once, noticeAfterMs into a wait, with the text to show.
    std::function<void(const QString& notice)> onWaiting;
};

}  // namespace mindlark
