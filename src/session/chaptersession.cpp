#include "session/chaptersession.h"

#include "db/sessionstore.h"
#include "db/sql.h"
#include "text/gbk.h"

#include <QRandomGenerator>
#include <QSet>

using namespace Qt::StringLiterals;

namespace session {

QList<Course> courses(const QSqlDatabase &db)
{
    QList<Course> out;
    QSqlQuery q = db::run(db, u"select m_id,m_name from ma_id"_s);
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

QList<Chapter> practiceChapters(const QSqlDatabase &db, const QString &courseId)
{
    QList<Chapter> out;
    QSqlQuery q = db::run(db, u"select c_id,c_name from cap_id where m_id=? and m_type=?"_s, {courseId, u"1"_s});
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

QString chapterName(const QSqlDatabase &db, const QString &chapterId)
{
    return db::scalar(db, u"select c_name from cap_id where m_type=? and c_id=?"_s, {u"1"_s, chapterId}).toString();
}

int fourthType(const QString &courseName)
{
    int type = 0;
    if (courseName.contains(u"基础"))
        type = 4;
    if (courseName.contains(u"财经"))
        type = 5;
    if (courseName.contains(u"电算"))
        type = 6;
    return type;
}

namespace {

// Texts of the fourth types 4, 5 and 6: panel name, short name, and what follows the count.
struct FourthTypeTexts
{
    const char16_t *name;
    const char16_t *shortName;
    const char16_t *afterCount;
};

const FourthTypeTexts *fourthTypeTexts(int type)
{
    static const FourthTypeTexts texts[] = {{u"计算分析题:", u"计算题:", u" 大题,每题"},
                                            {u"案例分析题:", u"案例题:", u"  大题,每题"},
                                            {u"实务操作题:", u"实务题:", u"  题,每题"}};
    return type >= 4 && type <= 6 ? &texts[type - 4] : nullptr;
}

} // namespace

QString fourthTypeName(int type)
{
    const FourthTypeTexts *t = fourthTypeTexts(type);
    return t ? QString::fromUtf16(t->name) : QString();
}

QString fourthTypeShortName(int type)
{
    const FourthTypeTexts *t = fourthTypeTexts(type);
    return t ? QString::fromUtf16(t->shortName) : u"不明题:"_s;
}

QString fourthTypeCountLine(int type, int count, const QString &scoreText)
{
    const FourthTypeTexts *t = fourthTypeTexts(type);
    if (!t)
        return {};
    return QString::fromUtf16(t->name) + u"  "_s + QString::number(count) + QString::fromUtf16(t->afterCount) +
           scoreText;
}

QString fourthTypeEmptyLine(int type)
{
    return type >= 4 && type <= 6 ? fourthTypeName(type) + u" 0   题"_s : QString();
}

QString chapterButtonCaption(const QString &name)
{
    const QString trimmed = name.trimmed();
    QString caption;
    int width = 0;
    for (const QChar c : trimmed) {
        const int w = text::gbkWidth(QString(c));
        // A character that starts within the first 28 bytes is kept whole.
        if (width >= 28)
            break;
        caption += c;
        width += w;
    }
    while (width < 32) {
        caption += u' ';
        ++width;
    }
    return caption;
}

ChapterCounts countChapter(const QSqlDatabase &db, const QString &chapterId)
{
    ChapterCounts counts;
    QSqlQuery q = db::run(db, u"select p_type,count(p_id) from ex_page_id where c_id=? group by p_type"_s, {chapterId});
    while (q.next()) {
        const QString type = q.value(0).toString();
        const int n = q.value(1).toInt();
        counts.total += n;
        if (type.size() == 1 && type[0] >= u'1' && type[0] <= u'6')
            counts.perType[type[0].unicode() - u'0'] = n;
    }
    return counts;
}

QList<int> drawOrder(int n, QRandomGenerator &rng)
{
    // Draw again while the number was drawn before: every permutation is equally likely.
    QList<int> order;
    order.reserve(n);
    QSet<int> drawn;
    for (int i = 0; i < n; ++i) {
        int k = int(rng.bounded(n));
        while (drawn.contains(k))
            k = int(rng.bounded(n));
        drawn.insert(k);
        order.append(k + 1);
    }
    return order;
}

BuildResult buildChapterSession(const QSqlDatabase &db, Clock &clock, const BuildRequest &request,
                                QRandomGenerator &rng)
{
    BuildResult result;
    if (request.counts[0] <= 0 && request.counts[1] <= 0 && request.counts[2] <= 0 && request.counts[3] <= 0)
        return result;
    db::Transaction tx(db);
    const QString pageId = db::newPageId(db, clock);
    db::clearTmp(db);
    db::clearTmpId(db);
    for (int type = 1; type <= 3; ++type)
        db::selectFirstOfType(db, request.chapterId, type, request.counts[type - 1]);
    // A course has questions of only one of the types 4, 5 and 6.
    for (int type = 4; type <= 6; ++type)
        db::selectFirstOfType(db, request.chapterId, type, request.counts[3]);

    const QList<db::Selected> selection = db::listSelection(db);
    const int n = int(selection.size());
    if (n == 0)
        return result;
    const QList<int> order = request.randomOrder ? drawOrder(n, rng) : QList<int>();
    QList<db::AnswerRecord> records;
    records.reserve(n);
    for (int i = 0; i < n; ++i) {
        const db::Selected &s = selection.at(request.randomOrder ? order.at(i) - 1 : i);
        // An empty, not a null, first answer: the column holds empty text until answered.
        records.append({s.pId, s.score, s.type.toInt(), u""_s, false, false});
    }
    db::appendAnswerRecords(db, pageId, records);
    db::copyForPractice(db, pageId);
    tx.commit();
    result.pageId = pageId;
    result.questionTotal = n;
    return result;
}

} // namespace session
