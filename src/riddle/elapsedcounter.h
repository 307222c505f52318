#pragma once

#include <QString>
#include <cstdint>

namespace mindlark {

// Counts timer ticks since the welcome caption last changed. The tick that sees a
// changed caption restarts the count at 0; every later tick with the same caption
// (compared exactly, letter case included) adds one. 64 bits never overflow.
class ElapsedCounter {
public:
    // Starts at 0, remembering the caption the label holds at creation.
    explicit ElapsedCounter(QString captionAtCreation = {});

    // One tick of the one-second timer, given the caption as it reads now.
    void tick(const QString& caption);

    // The current count.
    std::int64_t value() const { return count_; }

private:
    QString remembered_;
    std::int64_t count_ = 0;
};

}  // namespace mindlark
