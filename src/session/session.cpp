#include "session/session.h"

#include <optional>

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

bool Session::signIn(const QString& userName, const QString& password) {
    const std::optional<SignInMatch> match = findAccount(store_, userName, password);
    if (!match)
        return false;
    name_ = match->name;
    age_ = match->age;
    signedIn_ = true;
    return true;
}

bool Session::registerUser(const UserFields& fields, const QString& confirmation) {
    if (!isRegistrationAccepted(fields.password, confirmation, fields.name, fields.userName))
        return false;
    store_.registerUser(fields);
    name_ = fields.name;
    // The form is emptied after an accepted registration, and the age with it.
    age_.clear();
    signedIn_ = true;
    return true;
}

QString Session::greeting() const {
    return QStringLiteral("Welcome ") + name_;
}

}  // namespace mindlark
