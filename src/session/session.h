#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "accounts/accountstore.h"
#include "accounts/fields.h"

namespace mindlark {

// Who a sign-in or an accepted registration lets in: the name the game greets
// and the age its answer code carries.
struct Player {
    QString name;
    QString age;
};

// What one run of the game knows about its player, apart from any window: the
// store below the working directory, and whether somebody has signed in.
// Start-up, sign-in and registration go through it; who they let in goes to the
// game. Every store failure comes out as StoreError; nothing is shown.
class Session {
public:
    // A session over the store below `workingDirectory`.
    explicit Session(QString workingDirectory);

    // Start-up: when the first-run marker asks for it, calls `settingUp` and then
    // sets the store up; then reads the user count strictly. Returns true while
    // nobody is registered. Throws StoreError, also for a counter that is no user count.
    bool start(const std::function<void()>& settingUp);

    // The main window's "New User": the counter is read again before the
    // registration window opens, so a store that fails is reported then, not at
    // "Add User". Throws StoreError.
    void openRegistration() const;

    // "Sign in": looks the typed texts up in every stored account, exactly. On a
    // match the player is signed in as that account, with its stored name and age;
    // the last of several matching accounts wins. Nothing when none matched. An
    // account whose files cannot be read is passed over (see takeDamageNotice()).
    // Throws StoreError when the counter cannot be read.
    std::optional<Player> signIn(const QString& userName, const QString& password);

    // What to tell the player about accounts the latest sign-in passed over: the
    // damaged files, named once per run; empty when there is nothing new to say.
    QString takeDamageNotice();
    // What the store mended or found since last asked that the player should
    // hear of (a counter written again, a store others can read); empty when
    // there is nothing to say.
    QString takeStoreNotice() { return store_.takeNotes().join(QStringLiteral("\n\n")); }

    // "Add User": refused (nothing) unless the password equals `confirmation`,
    // neither name nor user name is empty and every value can be stored and read
    // back; an accepted account is written as the next user and signs the player
    // in with the typed name and an empty age. Throws StoreError, with nobody
    // signed in anew and no account added, when the store could not take it.
    std::optional<Player> registerUser(const UserFields& fields, const QString& confirmation);

    // How a change to the store waits while another copy of the game writes it.
    void setLockWait(LockWait wait) { store_.setLockWait(std::move(wait)); }

    // Whether a sign-in or registration has succeeded in this run.
    bool isSignedIn() const { return signedIn_; }

private:
    AccountStore store_;
    bool signedIn_ = false;
    QStringList damaged_;
    bool damageTold_ = false;
};

}  // namespace mindlark
