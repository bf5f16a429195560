// The update list up.txt: whatever the bytes, a list entry the path check accepts names a file inside
// data/ (never the live bank or its journals), and the dates read are real dates.
#include "fuzzcheck.h"

#include "update/updatecheck.h"
#include "update/updatelist.h"

#include <QDir>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const update::UpdateList list = update::parseUpdateList(bytes);
    FUZZ_CHECK(!list.dateText.contains(u'\n') && !list.dateText.contains(u'\r'), list.dateText);
    if (const auto date = update::parseListDate(list.dateText))
        FUZZ_CHECK(date->isValid(), list.dateText);
    update::judgeList(true, bytes, u"2009-06-01"_s);

    const QString dataDir = u"/program/data"_s;
    for (const QString &text : list.entries) {
        FUZZ_CHECK(!text.contains(u'\n') && !text.contains(u'\r'), text);
        const update::Entry entry = update::classifyEntry(text);
        if (entry.kind != update::EntryKind::File) {
            FUZZ_CHECK(entry.relative.isEmpty(), text);
            continue;
        }
        const QString &relative = entry.relative;
        FUZZ_CHECK(!relative.isEmpty() && !relative.contains(u'\\') && !relative.contains(u':'), text, relative);
        FUZZ_CHECK(QDir::cleanPath(relative) == relative && !relative.startsWith(u'/'), text, relative);
        const QStringList parts = relative.split(u'/');
        FUZZ_CHECK(!parts.contains(u".."_s) && !parts.contains(u"."_s) && !parts.contains(QString()), text, relative);
        // Where the updater writes it.
        const QString target = QDir::cleanPath(QDir(u"/program"_s).filePath(u"data/"_s + relative));
        FUZZ_CHECK(target.startsWith(dataDir + u'/'), text, target);
        const QString first = parts.first();
        FUZZ_CHECK(first != QLatin1StringView(update::kBankEntry) || parts.size() > 1, text, relative);
        FUZZ_CHECK(!relative.startsWith(QLatin1StringView(update::kBankEntry) + u'-'), text, relative);
    }
    return 0;
}
