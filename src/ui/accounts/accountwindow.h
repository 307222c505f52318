#pragma once

#include <QWidget>

class QCloseEvent;

namespace mindlark {

// What both account windows share: the title-bar close box stands for one of
// their buttons.
class AccountWindow : public QWidget {
    Q_OBJECT

public:
    // A hidden top-level window.
    explicit AccountWindow(QWidget* parent = nullptr);

protected:
    // What the player's click on the close box does: "Close" or "Cancel".
    virtual void closeBoxPressed() = 0;

    // Only the player's click on the close box counts as that button; a close the
    // program itself asks for (ending the application) is let through.
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace mindlark
