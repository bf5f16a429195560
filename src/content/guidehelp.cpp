#include "content/guidehelp.h"

#include "db/sql.h"
#include "text/gbk.h"

using namespace Qt::StringLiterals;

namespace content {

namespace {

QList<Entry> entries(const QSqlDatabase &db, const QString &sql)
{
    QList<Entry> out;
    QSqlQuery q = db::run(db, sql);
    while (q.next())
        out.append({q.value(0).toString(), Link{q.value(1).toString(), q.value(2).toBool()}});
    return out;
}

constexpr int kGuideCaptionBytes = 25;

} // namespace

QList<Entry> guideEntries(const QSqlDatabase &db)
{
    return entries(db, u"select ks_name,ks_url,ks_local from ks_dg"_s);
}

QList<Entry> helpEntries(const QSqlDatabase &db)
{
    return entries(db, u"select ks_way,ks_url,ks_type from ks_ad"_s);
}

QString guideButtonCaption(const QString &name)
{
    const QString cut = text::gbkLeft(name.trimmed(), kGuideCaptionBytes);
    return cut + QString(kGuideCaptionBytes - text::gbkWidth(cut), u' ');
}

int guideButtonTop(int n)
{
    return 45 * n + 35;
}

QString helpButtonCaption(const QString &way)
{
    return u"   "_s + way;
}

int helpButtonTop(int i)
{
    return 45 * i + 33;
}

int manualUpdateTop(int helpButtons)
{
    return 45 * helpButtons + 78;
}

std::optional<Entry> entryByCaption(const QList<Entry> &entries, const QString &caption)
{
    const QString wanted = caption.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const Entry &e : entries) {
        if (e.name.trimmed() == wanted)
            return e;
    }
    // A caption cut at the byte limit stands for the longer name it was cut from.
    const int bytes = text::gbkWidth(caption);
    for (const Entry &e : entries) {
        const QString name = e.name.trimmed();
        if (text::gbkWidth(name) > bytes && text::gbkLeft(name, bytes).trimmed() == wanted)
            return e;
    }
    return std::nullopt;
}

} // namespace content
