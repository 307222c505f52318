#pragma once

#include <QByteArrayView>
#include <QString>

#include <utility>
#include <vector>

namespace mindlark::rtf {

// The Windows code page that a font's \fcharset number stands for; `documentCodePage`
// (the \ansicpg value) for the default charset and for numbers it does not know.
int codePageForCharset(int charset, int documentCodePage);

// Whether `byte` starts a two-byte character in the double-byte code page `codePage`
// (932, 936, 949, 950, 1361); false for every byte of other code pages.
bool isLeadByte(int codePage, unsigned char byte);

// Whether `byte` can follow a lead byte as the second byte of a character in `codePage`.
bool isTrailByte(int codePage, unsigned char byte);

// Decodes bytes of Windows code pages into text with the C library's iconv, keeping
// one converter per code page for the life of the object; not for use by two
// threads at once.
class CodePageDecoder {
public:
    CodePageDecoder() = default;
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    // Appends the text that `bytes` encode in `codePage` to `out`; a byte the code
    // page does not define, or a lead and trail byte pair it does not, becomes one
    // U+FFFD. A pair in the user-defined area of Big5, GBK or Unified Hangul becomes
    // the private-use character Windows gives it, as Shift-JIS's already do.
    // Windows-1255 and 1258 and the Mac code pages 10000, 10007, 10029 and 10079 are
    // read one byte to one character from tables, as Windows reads them.
    // A code page that is not known, or that iconv lacks, is read as Windows-1252, so
    // such documents still give text.
    void decode(int codePage, QByteArrayView bytes, QString& out);

private:
    // The converter for `codePage`, opened on first use; Windows-1252's for code pages
    // outside the known list; nullptr when iconv has none.
    void* converterFor(int codePage);

    std::vector<std::pair<int, void*>> converters_;
};

}  // namespace mindlark::rtf
