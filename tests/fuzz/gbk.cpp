// GBK byte widths and cuts: a cut is a prefix that never splits a character, never exceeds its byte
// budget (counted and encoded), and stops only where the next character would not fit.
#include "fuzzcheck.h"

#include "text/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const int maxBytes = int(int8_t(data[0])) * 4 + (data[1] & 3);
    const QByteArray bytes = fuzz::bytesOf(data + 2, size - 2);
    // Texts from anywhere: raw UTF-16 (lone surrogates too), or decoded the way files are read.
    const QString text = data[1] & 4 ? fuzz::utf16Of(bytes) : text::decodeUtf8OrGbk(bytes);

    const QString cut = text::gbkLeft(text, maxBytes);
    const int budget = qMax(maxBytes, 0);
    FUZZ_CHECK(text.startsWith(cut), text, cut);
    FUZZ_CHECK(text::gbkWidth(cut) <= budget, cut);
    FUZZ_CHECK(text::toGbk(cut).size() <= budget, cut);
    FUZZ_CHECK(text::gbkLeft(cut, maxBytes) == cut, cut);
    if (cut.size() < text.size()) {
        const QChar next = text.at(cut.size());
        FUZZ_CHECK(!(next.isLowSurrogate() && !cut.isEmpty() && cut.back().isHighSurrogate()), text, cut);
        // The next whole character would not have fitted.
        const qsizetype after = cut.size() + 1;
        const qsizetype units =
            next.isHighSurrogate() && after < text.size() && text.at(after).isLowSurrogate() ? 2 : 1;
        FUZZ_CHECK(text::gbkWidth(text.left(cut.size() + units)) > budget, text, cut);
    }

    // Bytes that are valid UTF-8 are read as UTF-8.
    const QString decoded = text::decodeUtf8OrGbk(bytes);
    if (bytes.isValidUtf8())
        FUZZ_CHECK(decoded == QString::fromUtf8(bytes), decoded);
    return 0;
}
