#include "ui/accounts/formcontrols.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <limits>

#include "ui/captionlabel.h"
#include "ui/returnkey.h"
#include "ui/typeface.h"

namespace mindlark {

void useFormFont(QWidget* window) {
    QFont font = window->font();
    font.setPointSize(8);
    window->setFont(font);
}

QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QRect& place) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    // QLineEdit stops at 32767 characters by default; these boxes take any length.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

namespace {

// Styles mask passwords with a bullet by default; these windows have always shown
// "*". A proxy of the application's style says so, where a style sheet would
// bring the whole style-sheet engine into the first window's start.
class StarMaskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One instance for every password box, gone with the application.
QStyle* starMaskStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new StarMaskStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

}  // namespace

QLineEdit* makePasswordBox(QWidget* parent, const QString& name, const QRect& place) {
    QLineEdit* box = makeTextBox(parent, name, place);
    box->setEchoMode(QLineEdit::Password);
    box->setStyle(starMaskStyle());
    return box;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption,
                  const QRect& place) {
    auto* label = new CaptionLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    // Captions stand at the top left of their place, level with the box beside
    // them, whatever the script (Arabic captions keep their designed side too).
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop | Qt::AlignAbsolute);
    label->setFocusPolicy(Qt::NoFocus);
    // The boxes were sized for an 8-point system font; where the platform's font
    // runs wider, a narrower one keeps the whole caption readable in its place.
    const QFont font = condensedToFit(label->font(), caption, place.width());
    if (font != label->font())
        label->setFont(font);
    return label;
}

QLabel* makeWarningLabel(QWidget* parent, const QString& name, const QString& caption,
                         const QRect& place) {
    QLabel* label = makeLabel(parent, name, caption, place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    label->hide();
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(place);
    pressOnReturn(button);
    return button;
}

}  // namespace mindlark
