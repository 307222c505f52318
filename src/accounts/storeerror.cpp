#include "accounts/storeerror.h"

namespace mindlark {

QString cannot(const QString& operation, const QString& file, const QString& reason) {
    return QStringLiteral("Cannot %1 %2: %3").arg(operation, file, reason);
}

QString usersWithoutFiles(std::int64_t first, std::int64_t last) {
    if (first == last)
        return QStringLiteral("User %1 has no files").arg(first);
    return QStringLiteral("Users %1 to %2 have no files").arg(first).arg(last);
}

QString quoted(const QString& text) {
    constexpr qsizetype kShown = 40;
    QString shown = text.left(kShown);
    shown.replace(u'\r', u' ').replace(u'\n', u' ');
    return u'"' + shown + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

}  // namespace mindlark
