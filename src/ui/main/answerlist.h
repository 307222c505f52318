#pragma once

#include <QComboBox>
#include <cstdint>

#include "riddle/riddletexts.h"

namespace mindlark {

// One drop-down list of an answer grid: an editable field over the attribute's
// five fixed options. Typing never adds an option, and a list counts as
// answered only while one of its options is chosen.
class AnswerList : public QComboBox {
    Q_OBJECT
public:
    // The list of `attribute` for house 1 to 5, named, styled and filled for its
    // pane, showing the attribute's name while nothing is chosen.
    AnswerList(Language language, Attribute attribute, int house, QWidget* parent = nullptr);

    // -1 while nothing is chosen, else the chosen option's position 0 to 4.
    std::int16_t listIndex() const { return static_cast<std::int16_t>(currentIndex()); }

    // Chooses option `index`; any other value chooses nothing and empties the field.
    void setListIndex(int index);

    // The attribute whose options the list offers.
    Attribute attribute() const { return attribute_; }

    // The house 1 to 5 the list stands for.
    int house() const { return house_; }

private:
    // Keeps the index honest: once the field no longer reads as the chosen
    // option, nothing counts as chosen (the field keeps what was typed).
    void onTextEdited(const QString& text);

    Attribute attribute_;
    int house_;
};

}  // namespace mindlark
