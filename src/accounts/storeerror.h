#pragma once

#include <QString>
#include <cstdint>
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

// What every failed store operation says, naming the operation and the file:
// "Cannot read QK/num.qk: No such file or directory".
QString cannot(const QString& operation, const QString& file, const QString& reason);

// What every reader of the store says of users from `first` to `last` (at least
// `first`) that have no file at all: "User 4 has no files", "Users 4 to 9 have
// no files".
QString usersWithoutFiles(std::int64_t first, std::int64_t last);

// A stored text as a message quotes it: in double quotes, line breaks shown as
// spaces, and cut after 40 characters, since a damaged file may hold anything.
QString quoted(const QString& text);

}  // namespace mindlark
