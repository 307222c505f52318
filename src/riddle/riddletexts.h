#pragma once

#include <QString>
#include <QStringList>

namespace mindlark {

// The two faces of the riddle; each has a complete pane of its own.
enum class Language { English, Arabic };

// The rows of the answer grid, top to bottom. The same order is the grid order of
// the answer code, so the values double as row numbers 0 to 4.
enum class Attribute { Color = 0, Pet = 1, Drink = 2, Nationality = 3, Smoke = 4 };

// Rows, houses and options per list of one answer grid.
inline constexpr int kAttributeCount = 5;
inline constexpr int kHouseCount = 5;
inline constexpr int kOptionCount = 5;

// The attribute of row 0 to 4 (Color first); rows outside that range give Color.
Attribute attributeOfRow(int row);

// The introduction text: eleven lines joined by CR LF, spaces kept, no CR LF at the end.
QString introText(Language language);

// The fifteen numbered clues joined by CR LF, spaces kept, no CR LF at the end.
QString cluesText(Language language);

// The five options of an attribute's lists, in option-position order. Position p
// means the same answer in both languages; the answer code depends on it.
QStringList attributeOptions(Language language, Attribute attribute);

// The row caption beside an attribute's lists, which is also each list's initial text.
QString attributeCaption(Language language, Attribute attribute);

// The caption above house 1 to 5 (ASCII digits in both languages).
QString houseCaption(Language language, int house);

// The design name of the list for an attribute and house: "Color1", "SmokeA5".
QString listName(Language language, Attribute attribute, int house);

// The web address of the answer-submission page the panes display.
QString answerAddress();

// The fixed captions of one language pane.
struct PaneCaptions {
    QString title;            // pane title label above the introduction
    QString answerHeading;    // above the answer grid
    QString cluesHeading;     // above the clue box
    QString codeHeading;      // beside the code box
    QString sendInstruction;  // asks the user to copy the code to the web page
    QString generateButton;   // the button that builds the answer code
    QString refusalPrompt;    // shown when the grid has no choice at all
    QString refusalTitle;     // title of that message box (English in both panes)
};

// The captions of the given pane.
const PaneCaptions& paneCaptions(Language language);

}  // namespace mindlark
