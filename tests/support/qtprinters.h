#pragma once

#include <QString>
#include <ostream>

// Lets GoogleTest print Qt strings as text in failure messages, not as bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
