#include "accounts/storeerror.h"

namespace mindlark {

QString quoted(const QString& text) {
    constexpr qsizetype kShown = 40;
    QString shown = text.left(kShown);
    shown.replace(u'\r', u' ').replace(u'\n', u' ');
    return u'"' + shown + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

}  // namespace mindlark
