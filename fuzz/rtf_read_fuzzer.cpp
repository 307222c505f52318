// Feeds arbitrary bytes to the RTF reader: it must never crash, hang or leak, must
// report failure with a reason, and what it reads must survive a write and a read.

#include "rtf/rtf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The largest document the reader takes; bigger re-written texts are not compared.
constexpr qsizetype kReaderLimit = 16 * 1024 * 1024;

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkRoundTrip(const QString& text) {
    const QByteArray written = mindlark::rtf::write(text);
    if (written.size() > kReaderLimit)
        return;
    const auto again = mindlark::rtf::read(written);
    check(again.ok);
    check(again.text == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));

    const auto result = mindlark::rtf::read(bytes);
    check(result.ok == result.error.isEmpty());
    if (result.ok)
        checkRoundTrip(result.text);

    // The same bytes taken as UTF-16 text, lone surrogates and controls included.
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    checkRoundTrip(text);
    return 0;
}
