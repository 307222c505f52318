// Feeds arbitrary bytes to the RTF reader: it must never crash, hang or leak, must
// report failure with a reason, and what it reads must survive a write and a read.
// Wherever the fast path for the writer's own form takes a document, it must give
// what the general parser gives.

#include "rtf/rtf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

namespace rtf = mindlark::rtf;

void check(bool condition) {
    if (!condition)
        std::abort();
}

void checkRoundTrip(const QString& text) {
    const QByteArray written = rtf::write(text);
    check(written.size() == rtf::writtenSize(text));
    if (!rtf::fitsInDocument(text)) {
        check(!rtf::read(written).ok);
        return;
    }
    const auto fast = rtf::readOwnForm(written);
    check(fast.has_value() && *fast == text);
    const auto general = rtf::readGeneral(written);
    check(general.ok && general.text == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));

    const auto general = rtf::readGeneral(bytes);
    check(general.ok == general.error.isEmpty());
    if (const auto fast = rtf::readOwnForm(bytes)) {
        check(general.ok);
        check(*fast == general.text);
    }
    const auto combined = rtf::read(bytes);
    check(combined.ok == general.ok && combined.text == general.text &&
          combined.error == general.error);
    if (general.ok)
        checkRoundTrip(general.text);

    // The same bytes taken as UTF-16 text, lone surrogates and controls included.
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    checkRoundTrip(text);
    return 0;
}
