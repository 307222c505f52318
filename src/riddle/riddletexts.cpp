#include "riddle/riddletexts.h"

#include <QStringView>
#include <array>

namespace mindlark {

namespace {

// Lines of the four riddle texts, joined by CR LF when a text is asked for. The
// spaces at the start and end of some lines, the clue numbers' spacing and the
// backslashes around the question are part of the riddle as users know it.

constexpr QStringView kEnglishClues[] = {
    u"1.    The British man lives in the red house ",
    u"2.   The Swedish man has a dog for a pet",
    u"3.   The Danish man drinks tea",
    u"4.   The green house is to the left of the white house",
    u"5.   The owner of the green house drinks coffee.",
    u"6.   The person that smokes Pall Mall has a Bird",
    u"7.   The owner of the yellow house smokes Dunhill",
    u"8.   The person that lives in the middle house drinks milk",
    u"9.   The Norwegian lives in the first house",
    u"10.  The Person that smokes Blend lives next door to the one that has a cat",
    u"11.  The person That has a horse lives next to the one who smokes Dunhill",
    u"12.  The one that smokes Bluemaster drinks beer",
    u"13.  The German smokes Prince",
    u"14.  The Norwegian lives next to the blue house.",
    u"15.  The person that smokes Blend has a neighbor that drinks water.",
};

constexpr QStringView kEnglishIntro[] = {
    u"Kalvestro wrote this riddle last century and said that 98% of the world's population would "
    u"not be able to solve it.",
    u"Have Fun",
    u"",
    u"- There are 5 houses that are each a different color.",
    u"- There is one person of a different nationality in each house",
    u"- The 5 owners drink a certain different drink.",
    u"  They each smoke a certain different brand of cigaretes.",
    u"  They each have a certain different pet.",
    u"- The question is... \\\\Who has the Fish?\\\\",
    u"- In order to get the answer you should fill the table bellow",
    u"  using the clues that are on the right",
};

constexpr QStringView kArabicClues[] = {
    u"1.   البريطاني يعيش في البيت الأحمر ",
    u"2.   السويدي يملك كلب",
    u"3.   الدينماركي يشرب الشاي",
    u"4.   البيت الأخضر يكون على يسار البيت الأبيض",
    u"5.   مالك البيت الأخضر يشرب القهوة",
    u"6.   الشخص الذي يدخن (بال مال)يملك عصفور ",
    u"7.   صاحب البيت الأصفر يدخن دونهيل",
    u"8.   الشخص الذي يعيش في البيت الثالث يشرب الحليب",
    u"9.   النرويجي يعيش في البيت الأول",
    u"10.  الشخص الذي يدخن بلاند يعيش بجانب الشخص الذي يملك قطة",
    u"11.  الشخص الذي يملك حصان يعيش بجانب الشخص الذي يدخن دونهيل",
    u"12.  الشخص الذي يدخن بلوماستر يشرب بيرة",
    u"13.  الألماني يدخن برينس",
    u"14.  النرويجي يعيش بجانب البيت الأزرق",
    u"15.  الشخص الذي يدخن بلاند يشرب ماء",
};

constexpr QStringView kArabicIntro[] = {
    u"كالفيسترو كتب هذه الحزورة في القرن الماضي و قال أن 98% من الناس في العالم لن يحلوا هذه "
    u"الحزورة",
    u"أستمتعوا في حل هذا اللغز",
    u"",
    u"- يوجد 5 بيوت. كل بيت بلون مختلف",
    u"- في كل بيت يوجد شخص من جنسية مختلفة عن الأخر",
    u"- كل شخص لديه مشروب مفضل يختلف عن الأخر",
    u" كل شخص يدخن نوع دخان مختلف عن الأخر",
    u" كل شخص لديه حيوان مدلل مختلف عن الأخر",
    u"- السؤال هو من يملك السمكة",
    u"- حتى تحل هذا الغز حاول أن ترتب أجوبتك في الجدول الذي في الأسفل",
    u"  استعمل المساعدات الموجودة على اليسار ",
};

using OptionTable = std::array<std::array<QStringView, kOptionCount>, kAttributeCount>;

// Option position p of every list means the same answer in both tables.
constexpr OptionTable kEnglishOptions = {{
    {u"Red", u"Green", u"White", u"Yellow", u"Blue"},                // Color
    {u"Dog", u"Cat", u"Horse", u"Bird", u"{Fish}"},                  // Pet
    {u"Water", u"Coffee", u"Tea", u"Milk", u"Beer"},                 // Drink
    {u"German", u"Swedish", u"Norwegian", u"Danish", u"British"},    // Nationality
    {u"Pall Mall", u"Dunhill", u"Bluemaster", u"Prince", u"Blend"},  // Smoke
}};

// The fish option carries ASCII double quotes, as the English one carries braces.
constexpr OptionTable kArabicOptions = {{
    {u"أحمر", u"أخضر", u"أبيض", u"أصفر", u"أزرق"},              // Color
    {u"كلب", u"قط", u"حصان", u"عصفور", u"\"سمكة\""},            // Pet
    {u"ماء", u"قهوة", u"شاي", u"حليب", u"بيرة"},                // Drink
    {u"ألماني", u"سويدي", u"نرويجي", u"دينماركي", u"بريطاني"},  // Nationality
    {u"بال مال", u"دونهيل", u"بلوماستر", u"برينس", u"بلاند"},   // Smoke
}};

constexpr std::array<QStringView, kAttributeCount> kEnglishAttributes = {u"Color", u"Pet", u"Drink",
                                                                         u"Nationality", u"Smoke"};

constexpr std::array<QStringView, kAttributeCount> kArabicAttributes = {
    u"اللون", u"الحيوان", u"المشروب", u"الجنسية", u"الدخان"};

template <std::size_t N>
QString joinLines(const QStringView (&lines)[N]) {
    QString text;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            text += QStringLiteral("\r\n");
        text += lines[i];
    }
    return text;
}

int rowOf(Attribute attribute) {
    const int row = static_cast<int>(attribute);
    return row >= 0 && row < kAttributeCount ? row : 0;
}

}  // namespace

Attribute attributeOfRow(int row) {
    return row >= 0 && row < kAttributeCount ? static_cast<Attribute>(row) : Attribute::Color;
}

QString introText(Language language) {
    return language == Language::English ? joinLines(kEnglishIntro) : joinLines(kArabicIntro);
}

QString cluesText(Language language) {
    return language == Language::English ? joinLines(kEnglishClues) : joinLines(kArabicClues);
}

QStringList attributeOptions(Language language, Attribute attribute) {
    const OptionTable& table = language == Language::English ? kEnglishOptions : kArabicOptions;
    QStringList options;
    for (QStringView option : table[rowOf(attribute)])
        options << option.toString();
    return options;
}

QString attributeCaption(Language language, Attribute attribute) {
    const auto& captions = language == Language::English ? kEnglishAttributes : kArabicAttributes;
    return captions[rowOf(attribute)].toString();
}

QString houseCaption(Language language, int house) {
    const QString word =
        language == Language::English ? QStringLiteral("House ") : QStringLiteral(u"البيت ");
    return word + QString::number(house);
}

QString listName(Language language, Attribute attribute, int house) {
    const QString suffix = language == Language::English ? QString() : QStringLiteral("A");
    return kEnglishAttributes[rowOf(attribute)].toString() + suffix + QString::number(house);
}

QString answerAddress() {
    // The build sets the site's base address, so a fork can show its own site.
    return QStringLiteral(MINDLARK_SITE_ADDRESS "/answer/");
}

const PaneCaptions& paneCaptions(Language language) {
    static const PaneCaptions english{
        QStringLiteral("Mindlark?"),
        QStringLiteral("Your Answer:"),
        QStringLiteral("The Clues:"),
        QStringLiteral("Your Code:"),
        QStringLiteral("To send your answer, you have to copy the code and paste it in the "
                       "following link"),
        QStringLiteral("Generate a Code"),
        QStringLiteral("You have to check your answer!"),
        QStringLiteral("Error"),
    };
    static const PaneCaptions arabic{
        QStringLiteral(u"مايندلارك؟"),
        QStringLiteral(u"الجواب"),
        QStringLiteral(u"مساعدات"),
        QStringLiteral(u"شيفرة الجواب"),
        QStringLiteral(u"لكي ترسل جوابك, يجب أن تنسخ الشيفرة و تدخلها في الموقع التالي"),
        QStringLiteral(u"شفر الجواب"),
        QStringLiteral(u"يجب أن تغير أجوبتك"),
        QStringLiteral("Error"),
    };
    return language == Language::English ? english : arabic;
}

}  // namespace mindlark
