#include "app/windowflow.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "accounts/storeerror.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"

namespace mindlark {

namespace {

const QString kWelcome = QStringLiteral("Welcome ");
const QString kChangeUser = QStringLiteral("Change User");

}  // namespace

WindowFlow::WindowFlow(const QString& workingDirectory, EndProgram endProgram,
                       ShowFailure showFailure)
    : store_(workingDirectory),
      endProgram_(std::move(endProgram)),
      showFailure_(std::move(showFailure)) {
    if (!endProgram_)
        endProgram_ = [](int status) { QCoreApplication::exit(status); };
    if (!showFailure_) {
        showFailure_ = [](const QString& message) {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Mindlark?"), message,
                            QMessageBox::Ok);
            box.exec();
        };
    }
}

WindowFlow::~WindowFlow() = default;

void WindowFlow::start() {
    guarded([this] {
        // The registration window owns the buffers the load step fills, so it
        // exists, hidden, from the start of every run.
        registrationWindow();
        if (signInWindow().Form_Load()) {
            registrationWindow().show();
            signInWindow().hide();
        } else {
            signInWindow().show();
        }
    });
}

MainWindow& WindowFlow::mainWindow() {
    if (!main_) {
        // Reading the age mirror creates the registration window, hidden, if need be.
        main_ = std::make_unique<MainWindow>([this] {
            registrationWindow();
            return buffers_.saveAge;
        });
        connect(main_.get(), &MainWindow::exitRequested, this, [this] { end(0); });
        connect(main_.get(), &MainWindow::newUserRequested, this, [this] {
            guarded([this] {
                registrationWindow().reloadCounter();
                registrationWindow().show();
                registrationWindow().raise();
                registrationWindow().activateWindow();
            });
        });
        connect(main_.get(), &MainWindow::signInRequested, this, [this] {
            signInWindow().show();
            signInWindow().prepareForSignIn();
            signInWindow().raise();
            signInWindow().activateWindow();
        });
    }
    return *main_;
}

RegistrationWindow& WindowFlow::registrationWindow() {
    if (!registration_) {
        registration_ = std::make_unique<RegistrationWindow>(store_, buffers_);
        connect(registration_.get(), &RegistrationWindow::registered, this,
                [this](const QString& name) { greet(name); });
        connect(registration_.get(), &RegistrationWindow::closeRequested, this, [this] {
            if (mainWindowShown()) {
                registration_->hide();
            } else {
                end(0);
            }
        });
        connect(registration_.get(), &RegistrationWindow::storeFailed, this,
                [this](const QString& message) {
                    showFailure_(message);
                    end(1);
                });
    }
    return *registration_;
}

SignInWindow& WindowFlow::signInWindow() {
    if (!signIn_) {
        // The first-run set-up reads the main window's directory, creating that
        // window (hidden) on the first run only.
        registrationWindow();
        signIn_ = std::make_unique<SignInWindow>(store_, buffers_,
                                                 [this] { return mainWindow().dir1Path(); });
        connect(signIn_.get(), &SignInWindow::signedIn, this, [this](const QString& name) {
            mainWindow().setWelcomeCaption(kWelcome + name);
            signIn_->hide();
            mainWindow().show();
            mainWindow().clearAnswerGrids();
            mainWindow().setSignInCaption(kChangeUser);
        });
        connect(signIn_.get(), &SignInWindow::cancelRequested, this, [this] {
            if (mainWindowShown()) {
                signIn_->hide();
            } else {
                end(0);
            }
        });
        connect(signIn_.get(), &SignInWindow::newUserRequested, this, [this] {
            registrationWindow().show();
            signIn_->hide();
        });
        connect(signIn_.get(), &SignInWindow::storeFailed, this, [this](const QString& message) {
            showFailure_(message);
            end(1);
        });
    }
    return *signIn_;
}

void WindowFlow::greet(const QString& name) {
    mainWindow().setWelcomeCaption(kWelcome + name);
    mainWindow().setSignInCaption(kChangeUser);
    mainWindow().show();
}

bool WindowFlow::mainWindowShown() const {
    return main_ && main_->isVisible();
}

void WindowFlow::guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const StoreError& error) {
        showFailure_(error.message());
        end(1);
    }
}

void WindowFlow::end(int status) {
    if (ended_)
        return;
    ended_ = true;
    exitStatus_ = status;
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
