#include "ui/returnkey.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace mindlark {

namespace {

// Lives as the button's child. Qt's own way, an auto-default button, would also make
// the button a default one, drawn so and pressed by Return in a dialog's text boxes.
class ReturnPresser : public QObject {
public:
    explicit ReturnPresser(QAbstractButton* button) : QObject(button) {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

}  // namespace

void pressOnReturn(QAbstractButton* button) {
    new ReturnPresser(button);
}

}  // namespace mindlark
