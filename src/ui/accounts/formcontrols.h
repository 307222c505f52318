#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace mindlark {

// A single-line text box with no length limit, named and placed on `parent`.
QLineEdit* makeTextBox(QWidget* parent, const QString& name, const QRect& place);

// A text box that shows "*" for every character, whatever the platform's own mask.
QLineEdit* makePasswordBox(QWidget* parent, const QString& name, const QRect& place);

// The font every account window uses: the platform's own, at the 8 points the
// windows' places were measured for. Set on the window before its controls.
void useFormFont(QWidget* window);

// A named label with a plain-text caption that never takes the focus and draws
// all its ink; the font narrows when the caption would not fit its place otherwise.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& place);

// A label in red text, hidden until a refused input shows it.
QLabel* makeWarningLabel(QWidget* parent, const QString& name, const QString& caption,
                         const QRect& place);

// A named push button with a caption, pressed by Return or Space while it has the focus.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& place);

}  // namespace mindlark
