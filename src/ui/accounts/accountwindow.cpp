#include "ui/accounts/accountwindow.h"

#include <QCloseEvent>

namespace mindlark {

AccountWindow::AccountWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void AccountWindow::closeEvent(QCloseEvent* event) {
    if (!event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    closeBoxPressed();
}

}  // namespace mindlark
