// The "/"-separated answer lists: an item never holds the separator, and setting item i changes item
// i alone, keeping n items.
#include "fuzzcheck.h"

#include "text/listtext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int n = data[0] % 9;      // 0..8 items
    const int i = data[1] % 11 - 1; // -1..9
    const QString rest = QString::fromUtf8(fuzz::bytesOf(data + 2, size - 2));
    // The stored list, and the value set into it after a NUL.
    const qsizetype nul = rest.indexOf(QChar(0));
    const QString list = nul < 0 ? rest : rest.left(nul);
    const QString value = nul < 0 ? QString() : rest.mid(nul + 1);

    for (int k = -1; k <= n + 1; ++k) {
        const QString item = text::listItem(list, n, u'/', k);
        FUZZ_CHECK(!item.contains(u'/'), list, item);
        if (k < 1 || k > n)
            FUZZ_CHECK(item.isEmpty(), list, item);
    }

    const QString set = text::listSetItem(value, list, n, u'/', i);
    const bool inRange = i >= 1 && i <= n;
    FUZZ_CHECK(text::countDelimiters(u'/', set) == n + (inRange ? text::countDelimiters(u'/', value) : 0), set);
    FUZZ_CHECK(n == 0 || set.endsWith(u'/'), set);
    if (!value.contains(u'/')) {
        for (int k = 1; k <= n; ++k) {
            const QString expected = k == i ? value : text::listItem(list, n, u'/', k);
            FUZZ_CHECK(text::listItem(set, n, u'/', k) == expected, list, value, set);
        }
    }
    return 0;
}
