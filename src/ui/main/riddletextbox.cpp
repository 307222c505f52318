#include "ui/main/riddletextbox.h"

#include <QTextDocument>
#include <QTextOption>

namespace mindlark {

RiddleTextBox::RiddleTextBox(const QString& name, QWidget* parent) : QTextEdit(parent) {
    setObjectName(name);
    setAcceptRichText(false);
    setReadOnly(true);
    // Read-only, but the user must still be able to copy the answer code.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLayoutDirection(Qt::LeftToRight);

    // Without this Qt would choose each paragraph's direction from its first
    // strong letter and push the Arabic lines to the right edge; the boxes keep
    // left-to-right paragraphs and let the bidi algorithm order words in a line.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);

    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (settingText_)
            return;
        text_ = toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    });
}

void RiddleTextBox::setText(const QString& text) {
    settingText_ = true;
    setPlainText(text);
    settingText_ = false;
    text_ = text;
}

}  // namespace mindlark
