#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "accounts/accountbuffers.h"
#include "accounts/accountstore.h"

namespace mindlark {

class MainWindow;
class RegistrationWindow;
class SignInWindow;

// The program's three long-lived windows and the hand-over between them. Each
// window is created on first use, hidden until something shows it, and never
// destroyed before the program ends. The store is read and written only through
// the windows' handlers; a store failure is shown and ends the program.
class WindowFlow : public QObject {
    Q_OBJECT

public:
    // How the program ends with an exit status; replaced in tests.
    using EndProgram = std::function<void(int status)>;
    // How a store failure is shown before the program ends; replaced in tests.
    using ShowFailure = std::function<void(const QString& message)>;

    // A flow over the store in `workingDirectory`, which is also the main window's
    // directory list path.
    explicit WindowFlow(const QString& workingDirectory, EndProgram endProgram = {},
                        ShowFailure showFailure = {});
    ~WindowFlow() override;

    // Creates the sign-in window, whose load step sets the store up on the first
    // run, and shows it, or the registration window while nobody is registered.
    void start();

    // True once the program has been told to end; no handler runs after that.
    bool hasEnded() const { return ended_; }
    // The exit status the program ends with.
    int exitStatus() const { return exitStatus_; }

    // The windows, each created (hidden) on first use.
    MainWindow& mainWindow();
    RegistrationWindow& registrationWindow();
    SignInWindow& signInWindow();

    // The hidden buffers the registration window owns (mirrors and counter).
    AccountBuffers& buffers() { return buffers_; }

private:
    // Runs `step`; a store failure is shown and ends the program with status 1.
    void guarded(const std::function<void()>& step);
    void end(int status);
    bool mainWindowShown() const;
    void greet(const QString& name);

    AccountStore store_;
    AccountBuffers buffers_;
    EndProgram endProgram_;
    ShowFailure showFailure_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<RegistrationWindow> registration_;
    std::unique_ptr<SignInWindow> signIn_;
    bool ended_ = false;
    int exitStatus_ = 0;
};

}  // namespace mindlark
