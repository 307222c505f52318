#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QCloseEvent;

namespace mindlark {

// What both account windows share: the title-bar close box stands for one of
// their buttons, and a store failure inside a button's handler is reported by a
// signal, since an exception must not travel through Qt's event loop.
class AccountWindow : public QWidget {
    Q_OBJECT

public:
    // A hidden top-level window.
    explicit AccountWindow(QWidget* parent = nullptr);

signals:
    // A button's store operation failed; the message names the file. Without a
    // listener the StoreError propagates instead.
    void storeFailed(const QString& message);

protected:
    // Runs a button's handler, turning a StoreError into storeFailed() when heard.
    void reportingStoreErrors(const std::function<void()>& handler);

    // What the player's click on the close box does: "Close" or "Cancel".
    virtual void closeBoxPressed() = 0;

    // Only the player's click on the close box counts as that button; a close the
    // program itself asks for (ending the application) is let through.
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace mindlark
