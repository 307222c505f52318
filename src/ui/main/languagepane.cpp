#include "ui/main/languagepane.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "ui/captionlabel.h"
#include "ui/main/answerlist.h"
#include "ui/main/riddletextbox.h"
#include "ui/returnkey.h"
#include "ui/twips.h"
#include "ui/typeface.h"

namespace mindlark {

namespace {

// Where each control of a pane stands, in twips relative to the pane.
struct PanePlaces {
    QRect title;
    int titleIndex;
    std::array<int, kHouseCount> houseCaptionLeft;
    int houseCaptionTop;
    int rowCaptionLeft;
    int rowCaptionTop;
    Qt::Alignment rowCaptionAlignment;
    QRect answerHeading;
    QRect cluesHeading;
    QRect codeHeading;
    QRect sendInstruction;
    int sendInstructionIndex;
    QRect address;
    int addressIndex;
    QRect outline;
    QRect intro;
    QRect clues;
    QRect button;
    QRect code;
    int listLeftOfHouse1;
    int listColumnStep;  // signed: the Arabic columns run right to left
    int listTopOfRow1;
};

const PanePlaces kEnglishPlaces{
    twipsRect(240, 120, 2055, 255),
    0,
    {2880, 4200, 5640, 7080, 8520},
    3840,
    1320,
    4200,
    Qt::AlignLeft,
    twipsRect(960, 3480, 2055, 255),
    twipsRect(4920, 0, 2055, 255),
    twipsRect(840, 7320, 2055, 255),
    twipsRect(1680, 6720, 8055, 375),
    4,
    twipsRect(1920, 6960, 6855, 375),
    5,
    twipsRect(1200, 3840, 8655, 2415),
    twipsRect(480, 840, 4815, 2655),
    twipsRect(5400, 360, 5535, 3015),
    twipsRect(1200, 6360, 1575, 375),
    twipsRect(1200, 7680, 8655, 855),
    2520,
    1440,
    4200,
};

const PanePlaces kArabicPlaces{
    twipsRect(8880, 360, 2055, 375),
    1,
    {7440, 5880, 4440, 3000, 1560},
    3960,
    8520,
    4320,
    Qt::AlignRight,
    twipsRect(8280, 3480, 2055, 255),
    twipsRect(4200, 120, 2055, 255),
    twipsRect(8160, 7320, 2055, 255),
    twipsRect(1800, 6600, 6855, 375),
    2,
    twipsRect(1800, 6960, 6855, 375),
    3,
    twipsRect(1080, 3840, 8655, 2415),
    twipsRect(5880, 840, 4335, 2655),
    twipsRect(240, 480, 5535, 3015),
    twipsRect(8280, 6360, 1575, 375),
    twipsRect(1200, 7680, 8655, 855),
    7080,
    -1440,
    4320,
};

constexpr int kRowStep = 360;
constexpr int kListWidth = 1455;
constexpr int kListHeight = 405;
constexpr int kHouseCaptionWidth = 855;
constexpr int kRowCaptionWidth = 1095;
constexpr int kCaptionHeight = 255;

// The reset order of the sign-in: Color, Pet, Smoke, Nationality, Drink.
constexpr Attribute kClearOrder[] = {Attribute::Color, Attribute::Pet, Attribute::Smoke,
                                     Attribute::Nationality, Attribute::Drink};

}  // namespace

LanguagePane::LanguagePane(Language language, QWidget* parent)
    : QFrame(parent), language_(language) {
    const bool english = language == Language::English;
    const PanePlaces& places = english ? kEnglishPlaces : kArabicPlaces;
    const PaneCaptions& captions = paneCaptions(language);

    setObjectName(english ? QStringLiteral("English") : QStringLiteral("ArabicF"));
    setFrameShape(QFrame::NoFrame);
    setLayoutDirection(Qt::LeftToRight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setGeometry(twipsRect(0, 240, 11175, 8655));

    // Made first so that it lies beneath everything else; it only draws.
    auto* outline = new QFrame(this);
    outline->setObjectName(QStringLiteral("Shape1"));
    outline->setProperty("index", english ? 0 : 1);
    outline->setFrameShape(QFrame::Box);
    outline->setFrameShadow(QFrame::Plain);
    outline->setLineWidth(1);
    outline->setAttribute(Qt::WA_TransparentForMouseEvents);
    outline->setGeometry(places.outline);

    const int pane = english ? 0 : 1;
    addLabel(QStringLiteral("Label14"), places.titleIndex, captions.title, places.title,
             Qt::AlignHCenter);
    for (int h = 1; h <= kHouseCount; ++h) {
        addLabel(QStringLiteral("Label%1").arg(h), pane, houseCaption(language, h),
                 twipsRect(places.houseCaptionLeft[h - 1], places.houseCaptionTop,
                           kHouseCaptionWidth, kCaptionHeight),
                 Qt::AlignHCenter);
    }
    for (int r = 0; r < kAttributeCount; ++r) {
        addLabel(QStringLiteral("Label%1").arg(6 + r), pane,
                 attributeCaption(language, attributeOfRow(r)),
                 twipsRect(places.rowCaptionLeft, places.rowCaptionTop + kRowStep * r,
                           kRowCaptionWidth, kCaptionHeight),
                 places.rowCaptionAlignment);
    }
    addLabel(QStringLiteral("Label11"), pane, captions.answerHeading, places.answerHeading,
             Qt::AlignHCenter);
    addLabel(QStringLiteral("Label12"), pane, captions.cluesHeading, places.cluesHeading,
             Qt::AlignHCenter);
    addLabel(QStringLiteral("Label13"), pane, captions.codeHeading, places.codeHeading,
             Qt::AlignHCenter);
    addLabel(QStringLiteral("Label14"), places.sendInstructionIndex, captions.sendInstruction,
             places.sendInstruction, Qt::AlignHCenter);
    QLabel* address = addLabel(QStringLiteral("Label14"), places.addressIndex, answerAddress(),
                               places.address, Qt::AlignHCenter);
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);

    introBox_ =
        new RiddleTextBox(english ? QStringLiteral("Intro") : QStringLiteral("IntroA"), this);
    introBox_->setGeometry(places.intro);
    introBox_->setAccessibleName(captions.title);
    cluesBox_ =
        new RiddleTextBox(english ? QStringLiteral("Clues") : QStringLiteral("CluesA"), this);
    cluesBox_->setGeometry(places.clues);
    cluesBox_->setAccessibleName(captions.cluesHeading);

    for (int r = 0; r < kAttributeCount; ++r) {
        for (int h = 1; h <= kHouseCount; ++h) {
            auto* list = new AnswerList(language, attributeOfRow(r), h, this);
            list->setGeometry(twipsRect(places.listLeftOfHouse1 + places.listColumnStep * (h - 1),
                                        places.listTopOfRow1 + kRowStep * r, kListWidth,
                                        kListHeight));
            lists_[r][h - 1] = list;
        }
    }

    generateButton_ = new QPushButton(captions.generateButton, this);
    generateButton_->setObjectName(english ? QStringLiteral("Command1")
                                           : QStringLiteral("Command2"));
    generateButton_->setAccessibleName(captions.generateButton);
    generateButton_->setAutoDefault(false);
    generateButton_->setGeometry(places.button);
    pressOnReturn(generateButton_);

    codeBox_ = new RiddleTextBox(english ? QStringLiteral("Code") : QStringLiteral("CodeA"), this);
    codeBox_->setGeometry(places.code);
    codeBox_->setAccessibleName(captions.codeHeading);

    const QList<QWidget*> sequence = tabSequence();
    for (qsizetype i = 1; i < sequence.size(); ++i)
        setTabOrder(sequence[i - 1], sequence[i]);
}

QLabel* LanguagePane::addLabel(const QString& name, int index, const QString& caption,
                               const QRect& place, Qt::Alignment alignment) {
    auto* label = new CaptionLabel(caption, this);
    label->setObjectName(name);
    label->setProperty("index", index);
    // Captions hang from the top of their box on one line. A caption wider than
    // its box in the stand-in font is drawn a little narrower: wrapped, its last
    // word would vanish under the label below it.
    label->setFont(condensedToFit(riddleFont(true, false), caption, place.width()));
    // Absolute: Qt would otherwise mirror the alignment of an Arabic caption.
    label->setAlignment(alignment | Qt::AlignAbsolute | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

AnswerList* LanguagePane::list(Attribute attribute, int house) const {
    const int r = static_cast<int>(attributeOfRow(static_cast<int>(attribute)));
    const int h = house >= 1 && house <= kHouseCount ? house : 1;
    return lists_[r][h - 1];
}

void LanguagePane::clearGrid() {
    for (Attribute attribute : kClearOrder) {
        for (int h = 1; h <= kHouseCount; ++h)
            list(attribute, h)->setListIndex(-1);
    }
}

QList<QWidget*> LanguagePane::tabSequence() const {
    QList<QWidget*> sequence;
    const bool english = language_ == Language::English;
    for (int r = 0; r < kAttributeCount; ++r) {
        for (int i = 0; i < kHouseCount; ++i) {
            // The rightmost column is house 5 in English and house 1 in Arabic.
            const int h = english ? kHouseCount - 1 - i : i;
            sequence << lists_[r][h];
        }
    }
    sequence << generateButton_ << cluesBox_ << codeBox_ << introBox_;
    return sequence;
}

}  // namespace mindlark
