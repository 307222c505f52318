#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "accounts/fields.h"
#include "lock/lockwait.h"
#include "riddle/game.h"
#include "session/session.h"

class QMessageBox;

namespace mindlark {

class MainWindow;
class RegistrationWindow;
class SignInWindow;

// The program's three long-lived windows and the hand-over between them, over
// one Session and one Game: the flow tells the game when it begins, whom it
// greets and when a sign-in clears its grids. Each window is created on first
// use, hidden until something shows it, and never destroyed before the program
// ends: the sign-in window at start, the main window at the first greeting, the
// registration window when it is first shown. Windows report presses as
// signals; every handler here that touches the store shows a store failure and
// ends the program with status 1, so nothing throws into Qt, except "Add User":
// an account the store could not take leaves the player where they were.
class WindowFlow : public QObject {
    Q_OBJECT

public:
    // How the program ends with an exit status; replaced in tests.
    using EndProgram = std::function<void(int status)>;
    // How a store failure is shown before the program ends; replaced in tests.
    using ShowFailure = std::function<void(const QString& message)>;
    // How the player is told something that does not end the program (accounts
    // skipped as damaged); replaced in tests.
    using ShowNotice = std::function<void(const QString& message)>;

    // A flow over the store below `workingDirectory`. A change to the store waits
    // for another copy of the game as `lockWait` says, under the busy cursor and
    // with a message once the notice is due; its notice callback is the flow's own.
    explicit WindowFlow(const QString& workingDirectory, EndProgram endProgram = {},
                        ShowFailure showFailure = {}, ShowNotice showNotice = {},
                        LockWait lockWait = {});
    ~WindowFlow() override;

    // The start: the sign-in window, the store's first-run set-up and user count,
    // then the registration window while nobody is registered, else the sign-in window.
    void start();

    // True once the program has been told to end; no handler runs after that.
    bool hasEnded() const { return ended_; }
    // The exit status the program ends with.
    int exitStatus() const { return exitStatus_; }

    // The windows, each created (hidden) on first use.
    MainWindow& mainWindow();
    RegistrationWindow& registrationWindow();
    SignInWindow& signInWindow();

    // The game the main window shows, kept for the whole run.
    const Game& game() const { return game_; }

private:
    // "Sign in" on the sign-in window.
    void signIn(const QString& userName, const QString& password);
    // "Add User" on the registration window. A store that cannot take the account
    // is reported, and the program goes on.
    void addUser(const UserFields& fields, const QString& confirmation);
    // "New User" in the main window's menu.
    void openRegistration();
    // "Sign In" / "Change User" in the main window's menu.
    void openSignIn();
    // "Cancel" or "Close" on `window`: only hides it once somebody is signed in.
    void hideOrEnd(QWidget& window);
    // Greets `player` in the game, which carries their age in the answer code
    // from now on, and shows the main window.
    void greet(const Player& player);
    // Runs `step`; a store failure is shown and ends the program with status 1.
    void guarded(const std::function<void()>& step);
    void end(int status);
    // Shows what the store mended or found, if anything.
    void tellStoreNotice();
    // Shows, without blocking, that another copy of the game holds the store.
    void showWaiting(const QString& notice);

    Session session_;
    Game game_;
    EndProgram endProgram_;
    ShowFailure showFailure_;
    ShowNotice showNotice_;
    std::unique_ptr<QMessageBox> waiting_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<RegistrationWindow> registration_;
    std::unique_ptr<SignInWindow> signIn_;
    bool ended_ = false;
    int exitStatus_ = 0;
};

}  // namespace mindlark
