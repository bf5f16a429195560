#include "synthbank.h"

#include "db/schema.h"
#include "db/sql.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

const QStringList kCourses = {u"会计基础"_s, u"财经法规与会计职业道德"_s, u"初级会计电算化"_s, u"会计基础强化"_s};

QSqlQuery prepare(const QSqlDatabase &db, const QString &table, int columns)
{
    QStringList marks;
    for (int k = 0; k < columns; ++k)
        marks << u"?"_s;
    QSqlQuery q(db);
    q.prepare(u"insert into %1 values (%2)"_s.arg(table, marks.join(u',')));
    return q;
}

void exec(QSqlQuery &q, const QVariantList &values)
{
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw db::Error(q.lastError().text());
}

} // namespace

bool generateBank(const QString &path, const SynthSize &size, QString *error)
{
    QFile::remove(path);
    const QString name = u"synth-generate"_s;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = db.lastError().text();
            return false;
        }
        try {
            db::run(db, u"PRAGMA journal_mode=WAL"_s);
            db::run(db, u"PRAGMA synchronous=OFF"_s);
            for (const QString &t : db::contentTables())
                db::run(db, db::createStatement(t));
            db::run(db, db::createStatement(u"user_logon"_s));
            db::ensureSchema(db);

            QRandomGenerator rng(20261210);
            db::Transaction tx(db);
            QSqlQuery course = prepare(db, u"ma_id"_s, 4);
            QSqlQuery chapter = prepare(db, u"cap_id"_s, 4);
            QSqlQuery question = prepare(db, u"ex_page_id"_s, 15);
            QSqlQuery sub = prepare(db, u"ex_sub"_s, 13);
            const int perCourse = size.questions / int(kCourses.size());
            const int perChapter = 1000;
            QStringList questionIds;
            questionIds.reserve(size.questions);
            for (int m = 0; m < kCourses.size(); ++m) {
                const QString mId = u"M%1"_s.arg(m + 1);
                exec(course, {mId, kCourses.at(m), u"0"_s, u"0"_s});
                const int chapters = qMax(1, perCourse / perChapter);
                for (int c = 0; c < chapters; ++c) {
                    // Every fifth chapter is a mock paper.
                    const bool paper = c % 5 == 4;
                    const QString cId = u"%1C%2"_s.arg(mId).arg(c + 1);
                    exec(chapter, {cId, (paper ? u"模拟试卷%1"_s : u"第%1章"_s).arg(c + 1), mId, paper ? u"2"_s : u"1"_s});
                    for (int k = 0; k < perChapter; ++k) {
                        const int n = int(questionIds.size());
                        const QString pId = u"P%1"_s.arg(n + 1, 8, 10, QLatin1Char('0'));
                        // Types 1-3 dominate; 4, 5 and 6 appear as in real papers.
                        const int r = int(rng.bounded(100));
                        const int type = r < 35 ? 1 : r < 65 ? 2 : r < 90 ? 3 : r < 95 ? 4 : r < 98 ? 5 : 6;
                        const QString stem = u"第%1题 关于会计要素与会计等式的表述，下列说法中正确的是（ ）。"_s.arg(n + 1);
                        QVariantList v{cId, pId, QString::number(type), stem};
                        if (type == 4) {
                            for (int s = 0; s < 6; ++s)
                                v << (s < 3 ? u"借:银行存款=%1;贷:实收资本=%1"_s.arg((s + 1) * 1000) : u"-"_s);
                        } else {
                            for (int s = 0; s < 6; ++s)
                                v << (s < 4 ? u"选项内容%1"_s.arg(QChar(u'A' + s)) : u"-"_s);
                        }
                        v << (type == 2 ? u"ABD"_s : type == 3 ? u"A"_s : u"C"_s) << u"解析：依据会计准则。"_s
                          << 0 << 0 << (type == 4 || type == 5 ? 10.0 : type == 2 ? 2.0 : 1.0);
                        exec(question, v);
                        if (type == 5) {
                            for (int s = 1; s <= 4; ++s)
                                exec(sub, {pId, QString::number(s), u"案例小题%1"_s.arg(s), u"甲"_s, u"乙"_s, u"丙"_s,
                                           u"丁"_s, u"-"_s, u"-"_s, u"B"_s, u"小题解析"_s, 2.5, u"1"_s});
                        }
                        questionIds << pId;
                    }
                }
            }

            QSqlQuery record = prepare(db, u"test_page"_s, 16);
            QSqlQuery total = prepare(db, u"page_total"_s, 8);
            QDateTime when(QDate(2024, 1, 1), QTime(8, 0, 0));
            for (int s = 0; s < size.sessions; ++s) {
                when = when.addSecs(600 + rng.bounded(3000));
                const QString pageId = when.toString(u"yyyyMMddHHmmss"_s);
                const int start = int(rng.bounded(quint32(questionIds.size() - size.recordsPerSession)));
                int right = 0;
                for (int k = 0; k < size.recordsPerSession; ++k) {
                    const bool done = rng.bounded(10) < 8;
                    const bool real = done && rng.bounded(10) < 6;
                    right += real ? 1 : 0;
                    exec(record, {pageId, questionIds.at(start + k), 0, 0, 1, 0, 0, 0, done ? u"C"_s : QString(),
                                  done, real, rng.bounded(20) == 0, rng.bounded(30) == 0, done ? u"C"_s : QString(), 1.0,
                                  1});
                }
                exec(total, {pageId, QString::number(right), QString::number(size.recordsPerSession - right), u"0"_s,
                             QString::number(size.recordsPerSession), u"12分30秒"_s, u"章节练习"_s, double(right)});
            }
            tx.commit();
        } catch (const db::Error &e) {
            *error = e.message();
            ok = false;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace bench
