#include "riddle/elapsedcounter.h"

#include <utility>

namespace mindlark {

ElapsedCounter::ElapsedCounter(QString captionAtCreation)
    : remembered_(std::move(captionAtCreation)) {}

void ElapsedCounter::tick(const QString& caption) {
    if (caption == remembered_) {
        ++count_;
    } else {
        remembered_ = caption;
        count_ = 0;
    }
}

}  // namespace mindlark
