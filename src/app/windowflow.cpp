#include "app/windowflow.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>
#include <optional>

#include "accounts/storeerror.h"
#include "ui/accounts/busycursor.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"

namespace mindlark {

namespace {

// Closes the message about another copy holding the store when a step ends,
// whichever way it ends.
struct CloseWaiting {
    std::unique_ptr<QMessageBox>& box;
    ~CloseWaiting() { box.reset(); }
};

}  // namespace

WindowFlow::WindowFlow(const QString& workingDirectory, EndProgram endProgram,
                       ShowFailure showFailure, ShowNotice showNotice, LockWait lockWait)
    : session_(workingDirectory),
      endProgram_(std::move(endProgram)),
      showFailure_(std::move(showFailure)),
      showNotice_(std::move(showNotice)) {
    if (!endProgram_)
        endProgram_ = [](int status) { QCoreApplication::exit(status); };
    if (!showFailure_) {
        showFailure_ = [](const QString& message) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Mindlark?"), message,
                            QMessageBox::Ok);
            box.exec();
        };
    }
    if (!showNotice_) {
        showNotice_ = [](const QString& message) {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Mindlark?"), message,
                            QMessageBox::Ok);
            box.exec();
        };
    }
    if (!lockWait.pause) {
        // The window stays painted while the store is busy; the player's input
        // waits until the change is done.
        lockWait.pause = [](int milliseconds) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        };
    }
    lockWait.onWaiting = [this](const QString& notice) { showWaiting(notice); };
    session_.setLockWait(std::move(lockWait));
}

WindowFlow::~WindowFlow() = default;

void WindowFlow::start() {
    guarded([this] {
        signInWindow();
        // On a first run the game, and with it the elapsed counter, begins when the
        // store is set up; on later runs the first greeting begins it.
        const bool nobodyRegistered = session_.start([this] { game_.start(); });
        // The registration window holds nothing the start-up reads or writes, so
        // it is built when it is first shown and does not delay the first window.
        if (nobodyRegistered) {
            registrationWindow().show();
        } else {
            signInWindow().show();
        }
        tellStoreNotice();
    });
}

MainWindow& WindowFlow::mainWindow() {
    if (!main_) {
        main_ = std::make_unique<MainWindow>(game_);
        connect(main_.get(), &MainWindow::exitRequested, this, [this] { end(0); });
        connect(main_.get(), &MainWindow::newUserRequested, this, &WindowFlow::openRegistration);
        connect(main_.get(), &MainWindow::signInRequested, this, &WindowFlow::openSignIn);
    }
    return *main_;
}

RegistrationWindow& WindowFlow::registrationWindow() {
    if (!registration_) {
        registration_ = std::make_unique<RegistrationWindow>();
        connect(registration_.get(), &RegistrationWindow::addUserPressed, this,
                &WindowFlow::addUser);
        // Until the next greeting, the code carries what the age box reads.
        connect(registration_.get(), &RegistrationWindow::ageEdited, this,
                [this](const QString& text) { game_.setAge(text); });
        connect(registration_.get(), &RegistrationWindow::closePressed, this,
                [this] { hideOrEnd(*registration_); });
    }
    return *registration_;
}

SignInWindow& WindowFlow::signInWindow() {
    if (!signIn_) {
        signIn_ = std::make_unique<SignInWindow>();
        connect(signIn_.get(), &SignInWindow::signInPressed, this, &WindowFlow::signIn);
        connect(signIn_.get(), &SignInWindow::cancelPressed, this, [this] { hideOrEnd(*signIn_); });
        connect(signIn_.get(), &SignInWindow::newUserPressed, this, [this] {
            // The counter read at start is still current: it is not read again here.
            registrationWindow().show();
            signIn_->hide();
        });
    }
    return *signIn_;
}

void WindowFlow::signIn(const QString& userName, const QString& password) {
    guarded([&] {
        const BusyCursor busy;
        if (const std::optional<Player> player = session_.signIn(userName, password)) {
            signIn_->hide();
            greet(*player);
            // Unlike a registration, a sign-in starts both grids afresh.
            game_.clear();
        }
        // Also after a match: the window is hidden by then, and the Sign In command
        // hides the warning again before the window is next shown.
        signIn_->showWarning();
        tellStoreNotice();
        if (const QString notice = session_.takeDamageNotice(); !notice.isEmpty())
            showNotice_(notice);
    });
}

void WindowFlow::addUser(const UserFields& fields, const QString& confirmation) {
    if (ended_)
        return;
    std::optional<Player> player;
    try {
        const BusyCursor busy;
        const CloseWaiting closing{waiting_};
        player = session_.registerUser(fields, confirmation);
    } catch (const StoreError& error) {
        // Nothing was added and the store is as it was: the player keeps the form
        // and may try again, or sign in to an account that exists.
        showFailure_(error.message() +
                     QStringLiteral("\n\nThe account was not added. You can try again, or "
                                    "sign in to an existing account."));
        tellStoreNotice();
        return;
    }
    tellStoreNotice();
    if (!player) {
        registration_->showRefusal();
        return;
    }
    registration_->clearAfterRegistration();
    greet(*player);
}

void WindowFlow::openRegistration() {
    guarded([this] {
        session_.openRegistration();
        registrationWindow().show();
        registrationWindow().raise();
        registrationWindow().activateWindow();
    });
}

void WindowFlow::openSignIn() {
    signInWindow().show();
    signInWindow().prepareForSignIn();
    signInWindow().raise();
    signInWindow().activateWindow();
}

void WindowFlow::hideOrEnd(QWidget& window) {
    if (session_.isSignedIn()) {
        window.hide();
    } else {
        end(0);
    }
}

void WindowFlow::greet(const Player& player) {
    game_.greet(player.name, player.age);
    mainWindow().setSignInCaption(QStringLiteral("Change User"));
    mainWindow().show();
}

void WindowFlow::guarded(const std::function<void()>& step) {
    try {
        // Whatever happens, the message about another copy goes with the wait.
        const CloseWaiting closing{waiting_};
        step();
    } catch (const StoreError& error) {
        showFailure_(error.message());
        end(1);
    }
}

void WindowFlow::showWaiting(const QString& notice) {
    waiting_ = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("Mindlark?"),
                                             notice, QMessageBox::NoButton);
    waiting_->setObjectName(QStringLiteral("storeBusy"));
    waiting_->setModal(false);
    waiting_->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowFlow::tellStoreNotice() {
    if (const QString notice = session_.takeStoreNotice(); !notice.isEmpty())
        showNotice_(notice);
}

void WindowFlow::end(int status) {
    if (ended_)
        return;
    ended_ = true;
    exitStatus_ = status;
    waiting_.reset();
    // Nothing may be seen or run after the end: hide every window at once.
    if (main_)
        main_->hide();
    if (registration_)
        registration_->hide();
    if (signIn_)
        signIn_->hide();
    endProgram_(status);
}

}  // namespace mindlark
