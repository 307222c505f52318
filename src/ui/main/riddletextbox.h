#pragma once

#include <QString>
#include <QTextEdit>

namespace mindlark {

// A read-only text box for the riddle's texts and the answer codes. It shows its
// text as plain paragraphs (CR LF, LF or CR each break a line), always in
// left-to-right paragraph order, and hands back the exact text it was given,
// CR LF pairs and all, which the document itself would not preserve.
class RiddleTextBox : public QTextEdit {
    Q_OBJECT
public:
    // An empty box named `name`; it still lets the user select and copy.
    explicit RiddleTextBox(const QString& name, QWidget* parent = nullptr);

    // Replaces the whole content with `text`, shown as plain text.
    void setText(const QString& text);

    // The content exactly as last set (or as the document holds it, with CR LF
    // line breaks, should anything else have changed the document).
    QString text() const { return text_; }

private:
    QString text_;
    bool settingText_ = false;
};

}  // namespace mindlark
