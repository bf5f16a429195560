#include "sheet/sheetkeys.h"

#include "db/sql.h"

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

namespace sheet {

QString hashKey(QChar prefix, const QStringList &parts)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    const QByteArray digest = QCryptographicHash::hash(parts.join(QChar(0x1F)).toUtf8(), QCryptographicHash::Sha1);
    QString key(prefix);
    quint64 bits = 0;
    int count = 0;
    qsizetype next = 0;
    while (key.size() < 14) {
        if (count < 5) {
            bits = (bits << 8) | static_cast<unsigned char>(digest.at(next++));
            count += 8;
        }
        count -= 5;
        key += QLatin1Char(kAlphabet[(bits >> count) & 0x1F]);
    }
    return key;
}

QString KnownBank::chapterLookup(const QString &courseKey, const QString &name)
{
    return courseKey + QChar(0x1F) + name;
}

KnownBank KnownBank::read(const QSqlDatabase &db)
{
    KnownBank known;
    QSqlQuery courses = db::run(db, u"SELECT m_id, m_name, m_speaker, m_down FROM ma_id ORDER BY {rowid}"_s);
    while (courses.next()) {
        const QString name = courses.value(1).toString();
        if (!known.courses.contains(name))
            known.courses.insert(
                name, {courses.value(0).toString(), courses.value(2).toString(), courses.value(3).toString()});
    }
    QSqlQuery chapters = db::run(db, u"SELECT c_id, c_name, m_id FROM cap_id ORDER BY {rowid}"_s);
    while (chapters.next()) {
        const QString lookup = chapterLookup(chapters.value(2).toString(), chapters.value(1).toString());
        if (!known.chapters.contains(lookup))
            known.chapters.insert(lookup, chapters.value(0).toString());
    }
    return known;
}

} // namespace sheet
