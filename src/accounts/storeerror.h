#pragma once

#include <QString>
#include <stdexcept>

namespace mindlark {

// A failed store operation. what() names the operation and the file, for example
// "Cannot read QK/num.qk: No such file or directory"; the program shows it and ends.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    // The message as shown to the player.
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A stored text as a message quotes it: in double quotes, line breaks shown as
// spaces, and cut after 40 characters, since a damaged file may hold anything.
QString quoted(const QString& text);

}  // namespace mindlark
