#include "ui/main/answerlist.h"

#include <QAbstractItemView>
#include <QFont>
#include <QLineEdit>
#include <QPalette>

#include "ui/typeface.h"

namespace mindlark {

namespace {

QFont listFont(Attribute attribute) {
    return riddleFont(attribute == Attribute::Pet || attribute == Attribute::Nationality,
                      attribute == Attribute::Nationality || attribute == Attribute::Smoke);
}

}  // namespace

AnswerList::AnswerList(Language language, Attribute attribute, int house, QWidget* parent)
    : QComboBox(parent), attribute_(attribute), house_(house) {
    setObjectName(listName(language, attribute, house));
    setAccessibleName(attributeCaption(language, attribute) + QStringLiteral(", ") +
                      houseCaption(language, house));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: the field shows what the user typed, nothing more.
    setCompleter(nullptr);
    setLayoutDirection(Qt::LeftToRight);
    setFont(listFont(attribute));
    if (attribute == Attribute::Color) {
        QPalette purple = palette();
        const QColor colour(128, 0, 128);
        purple.setColor(QPalette::Text, colour);
        purple.setColor(QPalette::ButtonText, colour);
        setPalette(purple);
        // The popup is a window of its own and does not inherit the palette.
        view()->setPalette(purple);
    }
    view()->setFont(font());

    // On Linux the accessibility bridge names a combo box by its current text;
    // the field that takes the focus carries the list's name for screen readers.
    lineEdit()->setAccessibleName(accessibleName());

    // Arabic words would otherwise be pushed to the right edge of the field.
    lineEdit()->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);

    addItems(attributeOptions(language, attribute));
    setCurrentIndex(-1);
    setEditText(attributeCaption(language, attribute));
    lineEdit()->home(false);

    connect(lineEdit(), &QLineEdit::textEdited, this, &AnswerList::onTextEdited);
    // A chosen option reads from its start even when wider than the field.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            lineEdit()->home(false);
    });
}

void AnswerList::setListIndex(int index) {
    if (index >= 0 && index < count()) {
        setCurrentIndex(index);
        return;
    }
    setCurrentIndex(-1);
    clearEditText();
}

void AnswerList::onTextEdited(const QString& text) {
    if (currentIndex() < 0 || text == itemText(currentIndex()))
        return;
    const int cursor = lineEdit()->cursorPosition();
    setCurrentIndex(-1);  // this empties the field, so put the typed text back
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(cursor);
}

}  // namespace mindlark
