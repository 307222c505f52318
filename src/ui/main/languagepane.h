#pragma once

#include <QFrame>
#include <QList>
#include <array>

#include "riddle/riddletexts.h"

class QLabel;
class QPushButton;

namespace mindlark {

class AnswerList;
class RiddleTextBox;

// One language's complete face of the riddle: titles and captions, the
// introduction and clue boxes, the 25-list answer grid, the generate button and
// the code box. The Arabic pane mirrors the English one by position only; every
// control keeps left-to-right reading order.
class LanguagePane : public QFrame {
    Q_OBJECT
public:
    // A borderless white pane ("English" or "ArabicF") holding all its controls.
    explicit LanguagePane(Language language, QWidget* parent = nullptr);

    // The pane's language.
    Language language() const { return language_; }

    // The list of `attribute` for house 1 to 5 (house 1 when out of range).
    AnswerList* list(Attribute attribute, int house) const;

    // Chooses nothing on all 25 lists, Color, Pet, Smoke, Nationality, then Drink
    // rows, emptying their fields; the code box keeps its text.
    void clearGrid();

    // The button that asks for an answer code ("Command1" or "Command2").
    QPushButton* generateButton() const { return generateButton_; }

    // The box the answer code goes into ("Code" or "CodeA").
    RiddleTextBox* codeBox() const { return codeBox_; }

    // The introduction box ("Intro" or "IntroA").
    RiddleTextBox* introBox() const { return introBox_; }

    // The clue box ("Clues" or "CluesA").
    RiddleTextBox* cluesBox() const { return cluesBox_; }

    // The pane's Tab sequence: the rows top to bottom, each from its rightmost
    // list to its leftmost, then the button, clue box, code box and introduction.
    QList<QWidget*> tabSequence() const;

private:
    // A caption label of the numbered family `name` with its design index.
    QLabel* addLabel(const QString& name, int index, const QString& caption, const QRect& place,
                     Qt::Alignment alignment);

    Language language_;
    std::array<std::array<AnswerList*, kHouseCount>, kAttributeCount> lists_{};
    QPushButton* generateButton_ = nullptr;
    RiddleTextBox* codeBox_ = nullptr;
    RiddleTextBox* introBox_ = nullptr;
    RiddleTextBox* cluesBox_ = nullptr;
};

}  // namespace mindlark
