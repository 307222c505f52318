#include "ui/accounts/formcontrols.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <limits>

namespace mindlark {

QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QRect& place) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(place);
    // QLineEdit stops at 32767 characters by default; these boxes take any length.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QLineEdit* makePasswordBox(QWidget* parent, const QString& name, const QRect& place) {
    QLineEdit* box = makeTextBox(parent, name, place);
    box->setEchoMode(QLineEdit::Password);
    // Styles mask with a bullet by default; these windows have always shown "*".
    box->setStyleSheet(QStringLiteral("lineedit-password-character: %1").arg(int('*')));
    return box;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption,
                  const QRect& place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
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
    button->setGeometry(place);
    return button;
}

}  // namespace mindlark
