#include "rtf/rtf.h"

#include "rtf/codepage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <string_view>
#include <vector>

namespace mindlark::rtf {

namespace {

// Everything before the text: the rich-edit control's own header for a one-font,
// one-paragraph document. The space after \fs17 only ends the control word, so a
// value that starts with a space or a digit keeps it.
constexpr std::string_view kHead =
    "{\\rtf1\\fbidis\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
    "Serif;}}\r\n"
    "\\viewkind4\\uc1\\pard\\ltrpar\\lang10241\\f0\\fs17 ";
// The final paragraph mark, which readers do not turn into a line break.
constexpr std::string_view kTail = "\r\n\\par }\r\n";

// Deeper group nesting than this is refused. Real documents nest a few thousand deep
// at most (mail that quotes mail); the group stack lives on the heap, a dozen bytes
// a level, so the limit only bounds its memory to about a megabyte.
constexpr std::size_t kMaxDepth = 100000;
// RTF limits control words to 32 letters and their numbers to 32-bit values; leading
// zeros do not count towards the digits.
constexpr int kMaxWordLength = 32;
constexpr int kMaxDigits = 10;
// More fonts than this are refused; the table would otherwise grow with the input.
constexpr std::size_t kMaxFonts = 4096;

// Destinations whose content is not part of the plain text. List definitions are
// among them wherever they stand, since some writers leave them outside their
// tables; \nonesttables repeats nested tables for readers that cannot read \nestcell.
constexpr std::array<std::string_view, 76> kSkippedDestinations = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atnid",
    "author",
    "background",
    "bkmkend",
    "bkmkstart",
    "buptim",
    "colorschememapping",
    "colortbl",
    "comment",
    "creatim",
    "datastore",
    "doccomm",
    "docvar",
    "falt",
    "fchars",
    "filetbl",
    "fldinst",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "footnote",
    "formfield",
    "ftncn",
    "ftnsep",
    "ftnsepc",
    "generator",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "info",
    "keywords",
    "latentstyles",
    "lchars",
    "levelnumbers",
    "leveltext",
    "list",
    "listlevel",
    "listname",
    "listoverride",
    "listoverridetable",
    "listpicture",
    "listtable",
    "listtext",
    "mmathPr",
    "nonesttables",
    "nonshppict",
    "objdata",
    "object",
    "operator",
    "panose",
    "pgdsctbl",
    "pict",
    "pn",
    "pntext",
    "pntxta",
    "pntxtb",
    "printim",
    "protusertbl",
    "revtbl",
    "revtim",
    "rsidtbl",
    "shp",
    "shppict",
    "stylesheet",
    "subject",
    "template",
    "themedata",
    "title",
    "xmlnstbl",
};

constexpr bool sortedTable() {
    return std::is_sorted(kSkippedDestinations.begin(), kSkippedDestinations.end());
}
static_assert(sortedTable(), "kSkippedDestinations must stay sorted for binary search");

bool isSkippedDestination(std::string_view word) {
    return std::binary_search(kSkippedDestinations.begin(), kSkippedDestinations.end(), word);
}

// Control words that stand for one character of text.
char16_t characterWord(std::string_view word) {
    static constexpr std::pair<std::string_view, char16_t> kWords[] = {
        {"bullet", 0x2022},  {"cell", u'\t'},     {"emdash", 0x2014},    {"emspace", 0x2003},
        {"endash", 0x2013},  {"enspace", 0x2002}, {"ldblquote", 0x201C}, {"lquote", 0x2018},
        {"ltrmark", 0x200E}, {"nestcell", u'\t'}, {"qmspace", 0x2005},   {"rdblquote", 0x201D},
        {"rquote", 0x2019},  {"rtlmark", 0x200F}, {"tab", u'\t'},        {"zwj", 0x200D},
        {"zwnj", 0x200C},
    };
    for (const auto& [name, ch] : kWords) {
        if (name == word)
            return ch;
    }
    return 0;
}

bool isParagraphWord(std::string_view word) {
    return word == "par" || word == "sect" || word == "page" || word == "row";
}

// Control words that are not destinations: the ones this reader acts on besides those
// above, and the styles and character formatting it passes over. After \* they keep
// the group's text, where a word the reader does not know hides it.
constexpr std::array<std::string_view, 76> kNonDestinationWords = {
    "ab",         "acaps",     "acf",     "adn",     "aexpnd",   "af",      "afs",
    "ai",         "alang",     "ansi",    "ansicpg", "aoutl",    "ascaps",  "ashad",
    "astrike",    "aul",       "aup",     "b",       "caps",     "cb",      "cf",
    "charscalex", "cpg",       "cs",      "dbch",    "deff",     "dn",      "ds",
    "embo",       "expnd",     "expndtw", "f",       "fcharset", "fonttbl", "fs",
    "hich",       "highlight", "i",       "impr",    "kerning",  "lang",    "langfe",
    "langfenp",   "langnp",    "line",    "loch",    "ltrch",    "mac",     "noproof",
    "nosupersub", "outl",      "pc",      "pca",     "plain",    "rtlch",   "s",
    "scaps",      "shad",      "strike",  "striked", "sub",      "super",   "ts",
    "u",          "uc",        "ul",      "uld",     "uldash",   "uldb",    "ulnone",
    "ulth",       "ulw",       "ulwave",  "up",      "upr",      "v",
};
static_assert(std::is_sorted(kNonDestinationWords.begin(), kNonDestinationWords.end()),
              "kNonDestinationWords must stay sorted for binary search");

// Whether this reader knows `word`, so that a group it starts after \* is not skipped
// for being unknown. \ud is known only inside an \upr group.
bool isKnownWord(std::string_view word) {
    return characterWord(word) != 0 || isParagraphWord(word) || isSkippedDestination(word) ||
           std::binary_search(kNonDestinationWords.begin(), kNonDestinationWords.end(), word);
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the characters of a group go.
enum class Destination : unsigned char {
    Text,
    FontTable,
    Skipped,
    // An \upr group: its own content is the ANSI copy of its \ud child's text.
    Upr,
};

// What a group inherits from its parent and gets back at its closing brace.
struct GroupState {
    Destination destination = Destination::Text;
    int unicodeSkip = 1;  // \uc: fallback characters after each \u
    int font = -1;        // \f: -1 until the text names one, meaning \deff
};

// A font table entry: what its bytes are encoded in.
struct FontInfo {
    int charset = -1;   // \fcharset, -1 when absent
    int codePage = -1;  // \cpg, -1 when absent
};

// A control word's number as written: leading zeros skipped, a value too large for
// 32 bits flagged rather than read.
struct Parameter {
    bool present = false;
    bool tooLarge = false;
    int value = 0;
};

// One pass over the document with an explicit stack of group states, so nothing
// in the input can make the reader recurse.
class Reader {
public:
    explicit Reader(QByteArrayView document) : doc_(document) {}

    ReadResult run();

private:
    // One step: consumes at least one byte, or fails. False once finished or failed.
    bool step();
    // Reads what follows a backslash: a control word, symbol or \'hh escape.
    bool controlSequence();
    // The letters of the control word at the read position, without reading it;
    // empty when something else is there.
    std::string_view nextWord() const;
    // Reads the digits after a control word's letters.
    Parameter parameter();
    // Acts on a control word that is not a fallback of the last \u.
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    // A '{': the new group starts with its parent's state.
    void openGroup();
    // A '}': the parent's state comes back; the outermost brace ends the document.
    void closeGroup();
    // Adds a character to the plain text when the group's characters are text.
    void text(char16_t ch);
    // Adds CR LF to the plain text; a paragraph mark may be the document's last.
    void lineBreak(bool paragraphMark);
    // Queues a byte of the current font's code page for decoding with its neighbours.
    void hexByte(char byte);
    // Queues `byte` as the trail byte of a queued lead byte, when it can be one.
    bool trailByte(char byte);
    // Decodes the queued bytes into the plain text.
    void flushBytes();
    // The code page of the current font, or of the document when the font says none.
    int currentCodePage() const;
    // Enters the font table entry being read into the table; false when it is full.
    bool commitFontEntry();
    // Whether the current group's content is left out, control words and all.
    bool ignoring() const;
    // Records why the document cannot be read; returns false for the caller to pass on.
    bool fail(const QString& why);
    // True when the character just read is a fallback for the last \u, to be dropped.
    bool consumeFallback();

    QByteArrayView doc_;
    qsizetype pos_ = 0;
    std::vector<GroupState> stack_;  // the enclosing groups' states
    GroupState state_;
    bool finished_ = false;
    QString error_;

    QString text_;
    qsizetype paragraphEnd_ = -1;  // text length right after the latest \par
    int fallbackLeft_ = 0;         // characters after a \u still to skip
    QByteArray bytes_;             // \'hh bytes waiting to be decoded together
    int bytesCodePage_ = 1252;     // the code page of the queued bytes
    bool leadPending_ = false;     // the last queued byte is a lead byte without its trail

    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    // The entry being read: its number (-1 until \f names it) and what it says.
    int entryFont_ = -1;
    FontInfo entry_;
    std::map<int, FontInfo> fonts_;
};

// Converters stay open between documents: opening and closing several code pages
// for every read makes the C library load and unload their modules each time.
CodePageDecoder& threadDecoder() {
    thread_local CodePageDecoder decoder;
    return decoder;
}

bool Reader::fail(const QString& why) {
    error_ = why;
    return false;
}

ReadResult Reader::run() {
    if (doc_.size() > kMaxDocumentSize)
        return {false, {}, QStringLiteral("document too large")};
    while (pos_ < doc_.size() &&
           (doc_[pos_] == ' ' || doc_[pos_] == '\r' || doc_[pos_] == '\n' || doc_[pos_] == '\t')) {
        ++pos_;
    }
    if (!doc_.sliced(pos_).startsWith(QByteArrayView("{\\rtf"))) {
        return {false, {}, QStringLiteral("not an RTF document")};
    }
    text_.reserve(std::min<qsizetype>(doc_.size(), 4096));
    while (step()) {
    }
    if (!error_.isEmpty())
        return {false, {}, error_};
    if (!finished_) {
        return {false, {}, QStringLiteral("document is truncated: a group is never closed")};
    }
    // Whatever follows the brace that closes the document is not part of it: writers
    // leave padding, mail and theme data there, and rich-edit readers stop at it.

    // The document's last paragraph mark ends the text rather than adding a line.
    if (paragraphEnd_ == text_.size())
        text_.chop(2);
    return {true, text_, {}};
}

bool Reader::step() {
    if (finished_ || pos_ >= doc_.size())
        return false;
    const char c = doc_[pos_];
    switch (c) {
        case '{':
            ++pos_;
            openGroup();
            return error_.isEmpty();
        case '}':
            ++pos_;
            closeGroup();
            return !finished_ && error_.isEmpty();
        case '\\':
            return controlSequence();
        case '\r':
        case '\n':
            ++pos_;  // line breaks in the file only wrap its lines
            return true;
        default:
            ++pos_;
            if (static_cast<unsigned char>(c) >= 0x80) {
                hexByte(c);  // a raw 8-bit byte is read like \'hh
                return true;
            }
            if (trailByte(c))
                return true;
            flushBytes();
            if (c == ';' && state_.destination == Destination::FontTable)
                return commitFontEntry();
            if ((c == '\t' || static_cast<unsigned char>(c) >= 0x20) && !consumeFallback())
                text(static_cast<char16_t>(c));
            return true;
    }
}

void Reader::openGroup() {
    flushBytes();
    fallbackLeft_ = 0;
    if (stack_.size() >= kMaxDepth) {
        fail(QStringLiteral("groups nested too deeply (more than %1)").arg(kMaxDepth));
        return;
    }
    stack_.push_back(state_);
}

void Reader::closeGroup() {
    flushBytes();
    fallbackLeft_ = 0;
    // An entry's group, or the table's own, ends the entry even without its ';'.
    if (state_.destination == Destination::FontTable && !commitFontEntry())
        return;
    if (stack_.empty()) {
        finished_ = true;  // cannot happen: the outermost brace ends the loop first
        return;
    }
    state_ = stack_.back();
    stack_.pop_back();
    if (stack_.empty())
        finished_ = true;
}

bool Reader::commitFontEntry() {
    if (entryFont_ >= 0) {
        if (fonts_.size() >= kMaxFonts && fonts_.count(entryFont_) == 0)
            return fail(QStringLiteral("too many fonts in the font table"));
        fonts_[entryFont_] = entry_;
    }
    entryFont_ = -1;
    entry_ = {};
    return true;
}

bool Reader::ignoring() const {
    return state_.destination == Destination::Skipped || state_.destination == Destination::Upr;
}

bool Reader::consumeFallback() {
    if (fallbackLeft_ == 0)
        return false;
    --fallbackLeft_;
    return true;
}

void Reader::text(char16_t ch) {
    if (state_.destination == Destination::Text)
        text_ += QChar(ch);
}

void Reader::lineBreak(bool paragraphMark) {
    if (state_.destination != Destination::Text)
        return;
    text_ += QStringLiteral("\r\n");
    if (paragraphMark)
        paragraphEnd_ = text_.size();
}

int Reader::currentCodePage() const {
    const int font = state_.font >= 0 ? state_.font : defaultFont_;
    const auto it = fonts_.find(font);
    if (it == fonts_.end())
        return documentCodePage_;
    if (it->second.codePage > 0)
        return it->second.codePage;
    return codePageForCharset(it->second.charset, documentCodePage_);
}

void Reader::hexByte(char byte) {
    if (consumeFallback())
        return;
    if (state_.destination != Destination::Text)
        return;
    if (bytes_.isEmpty())
        bytesCodePage_ = currentCodePage();
    bytes_ += byte;
    // In a double-byte code page a lead byte's partner is the next byte, whatever it is.
    leadPending_ = !leadPending_ && isLeadByte(bytesCodePage_, static_cast<unsigned char>(byte));
}

bool Reader::trailByte(char byte) {
    if (!leadPending_ || !isTrailByte(bytesCodePage_, static_cast<unsigned char>(byte)))
        return false;
    bytes_ += byte;
    leadPending_ = false;
    return true;
}

void Reader::flushBytes() {
    leadPending_ = false;
    if (bytes_.isEmpty())
        return;
    threadDecoder().decode(bytesCodePage_, bytes_, text_);
    bytes_.clear();
}

std::string_view Reader::nextWord() const {
    qsizetype start = pos_;
    while (start < doc_.size() && (doc_[start] == '\r' || doc_[start] == '\n'))
        ++start;  // line breaks in the file only wrap its lines
    if (start + 1 >= doc_.size() || doc_[start] != '\\')
        return {};
    qsizetype end = ++start;
    while (end < doc_.size() && isLetter(doc_[end]))
        ++end;
    return std::string_view(doc_.data() + start, static_cast<size_t>(end - start));
}

Parameter Reader::parameter() {
    Parameter result;
    bool negative = false;
    if (pos_ + 1 < doc_.size() && doc_[pos_] == '-' && isDigit(doc_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    int significant = 0;
    qint64 value = 0;
    for (; pos_ < doc_.size() && isDigit(doc_[pos_]); ++pos_) {
        result.present = true;
        const int digit = doc_[pos_] - '0';
        if (significant == 0 && digit == 0)
            continue;
        if (++significant > kMaxDigits)
            result.tooLarge = true;
        else
            value = value * 10 + digit;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        result.tooLarge = true;
    result.value = result.tooLarge ? 0 : static_cast<int>(value);
    return result;
}

bool Reader::controlSequence() {
    ++pos_;  // the backslash
    if (pos_ >= doc_.size())
        return fail(QStringLiteral("document is truncated after a backslash"));
    const char c = doc_[pos_];

    if (c == '\'') {
        if (pos_ + 2 >= doc_.size()) {
            return fail(QStringLiteral("document is truncated inside a \\' escape"));
        }
        if (!isHexDigit(doc_[pos_ + 1]) || !isHexDigit(doc_[pos_ + 2])) {
            return fail(QStringLiteral("bad \\' escape: two hexadecimal digits must follow"));
        }
        const char byte =
            static_cast<char>(hexValue(doc_[pos_ + 1]) * 16 + hexValue(doc_[pos_ + 2]));
        pos_ += 3;
        hexByte(byte);
        return true;
    }
    if ((c == '\\' || c == '{' || c == '}') && trailByte(c)) {
        ++pos_;
        return true;
    }

    flushBytes();
    if (!isLetter(c)) {
        ++pos_;
        if (c == '*') {
            // An ignorable destination: skipped unless this reader knows the word that
            // follows, which then acts as it would without the \*. The Unicode half of
            // an \upr group is known there, and \ud itself turns it on.
            const std::string_view next = nextWord();
            const bool known =
                isKnownWord(next) || (state_.destination == Destination::Upr && next == "ud");
            if (!known)
                state_.destination = Destination::Skipped;
            return true;
        }
        if (consumeFallback())
            return true;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                text(static_cast<char16_t>(c));
                break;
            case '~':
                text(0x00A0);
                break;
            case '-':
                text(0x00AD);
                break;
            case '_':
                text(0x2011);
                break;
            case '\r':
            case '\n':
                lineBreak(true);
                break;
            default:
                break;  // other control symbols carry no text
        }
        return true;
    }

    // Words run to the first non-letter however long they are: rich-edit readers
    // pass over overlong ones in destinations they ignore.
    const qsizetype wordStart = pos_;
    while (pos_ < doc_.size() && isLetter(doc_[pos_]))
        ++pos_;
    const std::string_view word(doc_.data() + wordStart, static_cast<size_t>(pos_ - wordStart));
    if (word.size() > kMaxWordLength && !ignoring())
        return fail(QStringLiteral("control word too long"));
    const Parameter number = parameter();
    if (pos_ < doc_.size() && doc_[pos_] == ' ')
        ++pos_;  // the delimiter belongs to the word

    if (word == "bin") {
        // Binary data: skipped whole, in any destination, since it may hold braces.
        if (number.value < 0)
            return fail(QStringLiteral("\\bin with a negative byte count"));
        if (number.tooLarge || number.value > doc_.size() - pos_) {
            return fail(QStringLiteral("\\bin data runs past the end of the document"));
        }
        pos_ += number.value;
        consumeFallback();
        return true;
    }
    // A \u value outside 16 bits stands for no character: it is dropped and the
    // fallback that follows it is read as text, as rich-edit readers do.
    const bool unusableCharacter =
        word == "u" && (number.tooLarge || number.value < -32768 || number.value > 65535);
    if (number.tooLarge && !unusableCharacter && !ignoring()) {
        return fail(QStringLiteral("number too large after \\%1")
                        .arg(QLatin1StringView(word.data(), qsizetype(word.size()))));
    }
    if (consumeFallback() || unusableCharacter || number.tooLarge)
        return true;
    controlWord(word, number.present, number.value);
    return error_.isEmpty();
}

void Reader::controlWord(std::string_view word, bool hasParameter, int parameter) {
    if (word == "ud" && state_.destination == Destination::Upr) {
        state_.destination = Destination::Text;
        return;
    }
    if (ignoring())
        return;

    if (state_.destination == Destination::FontTable) {
        if (word == "f" && hasParameter) {
            // A second number without a ';' between starts the next entry.
            if (entryFont_ >= 0 && !commitFontEntry())
                return;
            entryFont_ = parameter;
        } else if (word == "fcharset" && hasParameter) {
            entry_.charset = parameter;
        } else if (word == "cpg" && hasParameter) {
            entry_.codePage = parameter;
        } else if (isSkippedDestination(word)) {
            state_.destination = Destination::Skipped;
        }
        return;
    }

    if (word == "u" && hasParameter) {
        text(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
        fallbackLeft_ = state_.unicodeSkip;
    } else if (word == "uc") {
        state_.unicodeSkip = hasParameter ? std::max(parameter, 0) : 1;
    } else if (isParagraphWord(word)) {
        lineBreak(true);
    } else if (word == "line") {
        lineBreak(false);
    } else if (const char16_t ch = characterWord(word); ch != 0) {
        text(ch);
    } else if (word == "f") {
        state_.font = hasParameter ? parameter : -1;
    } else if (word == "plain") {
        state_.font = -1;
    } else if (word == "deff" && hasParameter) {
        defaultFont_ = parameter;
    } else if (word == "ansicpg" && hasParameter && parameter > 0) {
        documentCodePage_ = parameter;
    } else if (word == "ansi") {
        documentCodePage_ = 1252;
    } else if (word == "mac") {
        documentCodePage_ = 10000;
    } else if (word == "pc") {
        documentCodePage_ = 437;
    } else if (word == "pca") {
        documentCodePage_ = 850;
    } else if (word == "fonttbl") {
        state_.destination = Destination::FontTable;
        entryFont_ = -1;
        entry_ = {};
    } else if (word == "upr") {
        state_.destination = Destination::Upr;
    } else if (isSkippedDestination(word)) {
        state_.destination = Destination::Skipped;
    }
}

// Hands the writer's output for `text` to `put` piece by piece, so that writing a
// document and measuring one cannot disagree.
template <typename Put>
void writePieces(const QString& text, Put&& put) {
    put(kHead);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            // A line break is a paragraph mark; the file's own CR LF is ignored on reading.
            put("\\par\r\n");
            ++i;
        } else if (c == u'\t') {
            put("\\tab ");
        } else if (c == u'\\') {
            put("\\\\");
        } else if (c == u'{') {
            put("\\{");
        } else if (c == u'}') {
            put("\\}");
        } else if (c >= 0x20 && c < 0x7F) {
            const char ascii = static_cast<char>(c);
            put(std::string_view(&ascii, 1));
        } else {
            // Everything else, lone CR and LF included, as its UTF-16 code unit: \u
            // takes a signed 16-bit number, and '?' is the one fallback \uc1 skips.
            std::array<char, 12> escape{'\\', 'u'};
            const int signedUnit = c > 32767 ? int(c) - 65536 : int(c);
            char* end = std::to_chars(escape.data() + 2, escape.data() + 10, signedUnit).ptr;
            *end++ = '?';
            put(std::string_view(escape.data(), static_cast<size_t>(end - escape.data())));
        }
    }
    put(kTail);
}

// Reads the number of a \u escape as the writer writes it: an optional minus and
// one to five digits, within the range the full reader turns into a character.
bool readOwnUnicodeEscape(const char*& p, const char* end, char16_t& unit) {
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    int value = 0;
    int digits = 0;
    for (; p < end && isDigit(*p) && digits < 5; ++p, ++digits)
        value = value * 10 + (*p - '0');
    if (digits == 0 || p == end || *p != '?')
        return false;
    ++p;  // the fallback
    if (negative ? value > 32768 : value > 65535)
        return false;
    unit = static_cast<char16_t>(negative ? 65536 - value : value);
    return true;
}

bool startsWith(const char* p, const char* end, std::string_view prefix) {
    return end - p >= qsizetype(prefix.size()) && std::string_view(p, prefix.size()) == prefix;
}

}  // namespace

QByteArray write(const QString& text) {
    QByteArray out;
    out.reserve(writtenSize(text));
    writePieces(text, [&out](std::string_view piece) {
        out.append(piece.data(), qsizetype(piece.size()));
    });
    return out;
}

qsizetype writtenSize(const QString& text) {
    qsizetype size = 0;
    writePieces(text, [&size](std::string_view piece) { size += qsizetype(piece.size()); });
    return size;
}

bool fitsInDocument(const QString& text) {
    return writtenSize(text) <= kMaxDocumentSize;
}

std::optional<QString> readOwnForm(QByteArrayView document) {
    const qsizetype frame = qsizetype(kHead.size() + kTail.size());
    if (document.size() > kMaxDocumentSize || document.size() < frame)
        return std::nullopt;
    const char* p = document.data() + kHead.size();
    const char* end = document.data() + document.size() - kTail.size();
    if (std::string_view(document.data(), kHead.size()) != kHead ||
        std::string_view(end, kTail.size()) != kTail) {
        return std::nullopt;
    }
    // Every escape the writer uses gives at most one character per byte.
    QString text(end - p, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* const first = out;
    while (p < end) {
        const char c = *p;
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            *out++ = static_cast<char16_t>(c);
            ++p;
        } else if (c != '\\' || end - p < 2) {
            return std::nullopt;
        } else if (p[1] == '\\' || p[1] == '{' || p[1] == '}') {
            *out++ = static_cast<char16_t>(p[1]);
            p += 2;
        } else if (startsWith(p, end, "\\tab ")) {
            *out++ = u'\t';
            p += 5;
        } else if (startsWith(p, end, "\\par\r\n")) {
            *out++ = u'\r';
            *out++ = u'\n';
            p += 6;
        } else if (p[1] == 'u') {
            p += 2;
            if (!readOwnUnicodeEscape(p, end, *out++))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    text.truncate(out - first);
    return text;
}

ReadResult readGeneral(QByteArrayView document) {
    return Reader(document).run();
}

ReadResult read(QByteArrayView document) {
    if (std::optional<QString> text = readOwnForm(document))
        return {true, std::move(*text), {}};
    return readGeneral(document);
}

}  // namespace mindlark::rtf
