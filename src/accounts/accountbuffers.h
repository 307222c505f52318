#pragma once

#include <QString>

namespace mindlark {

// The registration window's hidden buffers through which the store is read and
// written. The five mirrors follow their input fields; `saveAge` is the age the
// answer code uses; `number` holds the user counter's text while the program runs.
struct AccountBuffers {
    QString saveName;
    QString saveAge;
    QString saveEmail;
    QString user;
    QString password;
    QString number = QStringLiteral("0");
};

}  // namespace mindlark
