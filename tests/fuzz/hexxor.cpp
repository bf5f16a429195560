// The hex-XOR codec of main.ini values: decoding what was encoded gives the text back, and a value is
// accepted exactly when every pair of digits is hexadecimal.
#include "fuzzcheck.h"

#include "text/gbk.h"

namespace {

bool allPairsHex(const QString &hex)
{
    const qsizetype even = hex.size() - hex.size() % 2;
    for (qsizetype k = 0; k < even; ++k) {
        const char16_t c = hex.at(k).unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString value = QString::fromUtf8(bytes);

    const QString untouched = QStringLiteral("untouched");
    QString decoded = untouched;
    const bool ok = text::hexXorDecode(value, &decoded);
    FUZZ_CHECK(ok == allPairsHex(value), value);
    if (!ok)
        FUZZ_CHECK(decoded == untouched, value);

    // Encoding: two upper-case digits per GBK byte, and back to the same text whenever GBK holds it.
    const QString encoded = text::hexXorEncode(value);
    const QByteArray gbk = text::toGbk(value);
    FUZZ_CHECK(encoded.size() == 2 * gbk.size(), value, encoded);
    for (const QChar c : encoded)
        FUZZ_CHECK((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'), encoded);
    QString back;
    FUZZ_CHECK(text::hexXorDecode(encoded, &back), encoded);
    if (text::fromGbk(gbk) == value)
        FUZZ_CHECK(back == value, value, back);
    // A decoded value, encoded again, decodes to itself.
    if (ok) {
        QString again;
        FUZZ_CHECK(text::hexXorDecode(text::hexXorEncode(decoded), &again), decoded);
        if (text::fromGbk(text::toGbk(decoded)) == decoded)
            FUZZ_CHECK(again == decoded, decoded, again);
    }
    return 0;
}
