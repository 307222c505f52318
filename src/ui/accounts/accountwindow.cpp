#include "ui/accounts/accountwindow.h"

#include <QCloseEvent>
#include <QMetaMethod>

#include "accounts/storeerror.h"

namespace mindlark {

AccountWindow::AccountWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void AccountWindow::reportingStoreErrors(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const StoreError& error) {
        if (!isSignalConnected(QMetaMethod::fromSignal(&AccountWindow::storeFailed)))
            throw;
        emit storeFailed(error.message());
    }
}

void AccountWindow::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    reportingStoreErrors([this] { closeBoxPressed(); });
}

}  // namespace mindlark
