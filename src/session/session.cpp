#include "session/session.h"

#include "accounts/registration.h"
#include "accounts/signin.h"

namespace mindlark {

Session::Session(QString workingDirectory) : store_(std::move(workingDirectory)) {}

bool Session::start(const std::function<void()>& settingUp) {
    if (store_.isFirstRun()) {
        if (settingUp)
            settingUp();
        store_.setUp();
    }
    return store_.loadUserCount() == 0;
}

void Session::openRegistration() const {
    store_.loadCounterText();
}

std::optional<Player> Session::signIn(const QString& userName, const QString& password) {
    SignInResult result = mindlark::signIn(store_, userName, password);
    if (!damageTold_)
        damaged_ = std::move(result.damaged);
    if (!result.match)
        return std::nullopt;
    signedIn_ = true;
    return Player{result.match->name, result.match->age};
}

std::optional<Player> Session::registerUser(const UserFields& fields, const QString& confirmation) {
    if (!isRegistrationAccepted(fields.password, confirmation, fields.name, fields.userName) ||
        !fitsInStore(fields)) {
        return std::nullopt;
    }
    store_.registerUser(fields);
    signedIn_ = true;
    // The form is emptied after an accepted registration, and the age with it.
    return Player{fields.name, {}};
}

QString Session::takeDamageNotice() {
    if (damageTold_ || damaged_.isEmpty())
        return {};
    damageTold_ = true;
    // A store may hold many damaged files; the box names a few.
    constexpr qsizetype kNamed = 5;
    QStringList lines = damaged_.mid(0, kNamed);
    if (damaged_.size() > kNamed)
        lines += QStringLiteral("and %1 more").arg(damaged_.size() - kNamed);
    damaged_.clear();
    return QStringLiteral(
               "Some accounts could not be read and were skipped; the others can "
               "still sign in.\n\n") +
           lines.join(u'\n');
}

}  // namespace mindlark
