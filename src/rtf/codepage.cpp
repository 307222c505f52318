#include "rtf/codepage.h"

#include "rtf/codepage_tables.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace mindlark::rtf {

namespace {

const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

// The iconv name of a code page that documents name, or nothing for numbers this
// reader does not take: the list is closed so a document cannot make it open
// converters without end.
QByteArray iconvName(int codePage) {
    switch (codePage) {
        case 437:
        case 850:
        case 852:
        case 855:
        case 857:
        case 860:
        case 861:
        case 862:
        case 863:
        case 865:
        case 866:
        case 869:
        case 874:
        case 932:
        case 936:
        case 949:
        case 950:
        case 1250:
        case 1251:
        case 1252:
        case 1253:
        case 1254:
        case 1256:
        case 1257:
        case 1361:
            return "CP" + QByteArray::number(codePage);
        case 20127:
            return "ASCII";
        case 20866:
            return "KOI8-R";
        case 65001:
            return "UTF-8";
        default:
            if (codePage >= 28591 && codePage <= 28599) {
                return "ISO-8859-" + QByteArray::number(codePage - 28590);
            }
            return {};
    }
}

// The one-byte-one-character table of a code page that iconv would compose or lacks
// or maps otherwise than Windows, or nullptr.
const std::array<char16_t, 128>* upperHalfTable(int codePage) {
    switch (codePage) {
        case 1255:
            return &kWindows1255UpperHalf;
        case 1258:
            return &kWindows1258UpperHalf;
        case 10000:
            return &kWindows10000UpperHalf;
        case 10007:
            return &kWindows10007UpperHalf;
        case 10029:
            return &kWindows10029UpperHalf;
        case 10079:
            return &kWindows10079UpperHalf;
        default:
            return nullptr;
    }
}

// A block of double-byte codes that Windows maps, row by row, onto consecutive
// private-use characters: the user-defined characters of the East Asian code pages.
struct UserDefinedArea {
    int codePage;
    unsigned char firstLead, lastLead;
    unsigned char firstTrail, lastTrail;  // the trail bytes of the code page in between count
    char16_t first;                       // the character of the block's first code
};

// The areas the C library leaves undefined. Shift-JIS's (932) it maps itself, as it does
// Big5's 0xC6A1 to 0xC8FE, which Windows also maps onto U+F6B1 to U+F848.
constexpr UserDefinedArea kUserDefinedAreas[] = {
    {936, 0xAA, 0xAF, 0xA1, 0xFE, 0xE000}, {936, 0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {936, 0xA1, 0xA7, 0x40, 0xA0, 0xE4C6}, {949, 0xC9, 0xC9, 0xA1, 0xFE, 0xE000},
    {949, 0xFE, 0xFE, 0xA1, 0xFE, 0xE05E}, {950, 0xFA, 0xFE, 0x40, 0xFE, 0xE000},
    {950, 0x8E, 0xA0, 0x40, 0xFE, 0xE311}, {950, 0x81, 0x8D, 0x40, 0xFE, 0xEEB8},
};

// The private-use character that Windows gives the pair `lead` `trail`, or 0 when the
// pair is in no user-defined area.
char16_t userDefinedCharacter(int codePage, unsigned char lead, unsigned char trail) {
    if (!isTrailByte(codePage, trail))
        return 0;
    for (const UserDefinedArea& area : kUserDefinedAreas) {
        if (area.codePage != codePage || lead < area.firstLead || lead > area.lastLead ||
            trail < area.firstTrail || trail > area.lastTrail) {
            continue;
        }
        int rowLength = 0;
        int column = 0;
        for (int b = area.firstTrail; b <= area.lastTrail; ++b) {
            if (isTrailByte(codePage, static_cast<unsigned char>(b))) {
                ++rowLength;
                if (b < trail)
                    ++column;
            }
        }
        return static_cast<char16_t>(area.first + (lead - area.firstLead) * rowLength + column);
    }
    return 0;
}

}  // namespace

bool isLeadByte(int codePage, unsigned char byte) {
    switch (codePage) {
        case 932:
            return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        case 1361:
            return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) ||
                   (byte >= 0xE0 && byte <= 0xF9);
        default:
            return false;
    }
}

bool isTrailByte(int codePage, unsigned char byte) {
    switch (codePage) {
        case 932:
            return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
        case 936:
            return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
        case 949:
            return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
                   (byte >= 0x81 && byte <= 0xFE);
        case 950:
            return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
        case 1361:
            return (byte >= 0x31 && byte <= 0x7E) || (byte >= 0x81 && byte <= 0xFE);
        default:
            return false;
    }
}

int codePageForCharset(int charset, int documentCodePage) {
    switch (charset) {
        case 0:  // ANSI
            return 1252;
        case 2:  // symbol fonts keep their bytes; 1252 is the nearest Unicode reading
            return 1252;
        case 77:  // Mac Roman
            return 10000;
        case 88:  // Mac Central European
            return 10029;
        case 89:  // Mac Cyrillic
            return 10007;
        case 128:  // Shift-JIS
            return 932;
        case 129:  // Hangul
            return 949;
        case 130:  // Johab
            return 1361;
        case 134:  // GB2312
            return 936;
        case 136:  // Big5
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:  // PC 437
            return 437;
        case 255:  // OEM
            return 850;
        default:  // 1 (default charset) and anything unknown
            return documentCodePage;
    }
}

CodePageDecoder::~CodePageDecoder() {
    for (auto& [codePage, converter] : converters_) {
        if (converter != nullptr)
            iconv_close(static_cast<iconv_t>(converter));
    }
}

void* CodePageDecoder::converterFor(int codePage) {
    for (auto& [known, converter] : converters_) {
        if (known == codePage)
            return converter;
    }
    const QByteArray name = iconvName(codePage);
    if (name.isEmpty())
        return codePage == 1252 ? nullptr : converterFor(1252);
    iconv_t opened = iconv_open("UTF-16LE", name.constData());
    void* converter = opened == kNoConverter ? nullptr : static_cast<void*>(opened);
    converters_.emplace_back(codePage, converter);
    return converter;
}

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out) {
    if (bytes.isEmpty())
        return;
    if (const auto* table = upperHalfTable(codePage)) {
        for (const char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            out += QChar(b < 0x80 ? char16_t(b) : (*table)[b - 0x80]);
        }
        return;
    }
    void* found = converterFor(codePage);
    if (found == nullptr && codePage != 1252)
        found = converterFor(1252);
    if (found == nullptr) {
        out += QString::fromLatin1(bytes);
        return;
    }
    auto converter = static_cast<iconv_t>(found);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // forget any earlier call's state

    // iconv's interface takes non-const input although it never writes to it.
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    std::array<char, 1024> buffer;
    auto drain = [&](const char* end) {
        for (const char* p = buffer.data(); p + 1 < end; p += 2) {
            out += QChar(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                               static_cast<unsigned char>(p[1]) << 8));
        }
    };
    // Stateful converters (Windows-1255 and 1258) hold a base letter back in case an
    // accent follows; a call without input makes them give it up.
    auto flush = [&] {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
        drain(outPtr);
    };
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        const int err = errno;
        drain(outPtr);
        if (rc != static_cast<size_t>(-1) || err == E2BIG)
            continue;
        // An undefined byte or pair, or a lead byte with nothing after it: mark it and
        // go on after it. A pair is one character, defined or not; one in a user-defined
        // area is the private-use character Windows gives it.
        flush();
        const auto lead = static_cast<unsigned char>(in[0]);
        const auto trail = inLeft >= 2 ? static_cast<unsigned char>(in[1]) : 0;
        const bool pair = inLeft >= 2 && isLeadByte(codePage, lead) && isTrailByte(codePage, trail);
        const char16_t userDefined = pair ? userDefinedCharacter(codePage, lead, trail) : 0;
        out += userDefined != 0 ? QChar(userDefined) : QChar(QChar::ReplacementCharacter);
        const size_t skipped = pair ? 2 : 1;
        in += skipped;
        inLeft -= skipped;
        if (err != EILSEQ && err != EINVAL)
            break;
    }
    flush();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace mindlark::rtf
