#pragma once

#include "db/sql.h"
#include "practice/judging.h"
#include "session/chaptersession.h"
#include "shell/clock.h"
#include "support/testbank.h"

#include <QRandomGenerator>

// A practice session on a small bank, shared by the practice tests.
namespace practicetest {

using namespace Qt::StringLiterals;

// Option boxes from their letters: "BD" ticks B and D.
inline practice::Choices boxes(const QString &letters)
{
    practice::Choices c{};
    for (QChar l : letters)
        c[l.unicode() - u'A'] = true;
    return c;
}

// The session's page_total row as texts, in column order.
inline QStringList totalsRow(const QSqlDatabase &db, const QString &pageId)
{
    QSqlQuery q = db::run(db, u"select * from page_total where page_id=?"_s, {pageId});
    QStringList row;
    if (q.next()) {
        for (int k = 0; k < 8; ++k)
            row << q.value(k).toString();
    }
    return row;
}

// One chapter of a "基础" course: one question of each choice type, two calculation questions (one
// per mode), a case question with three sub-questions and a practical-operation question.
struct Fixture
{
    explicit Fixture(const QString &connection = QStringLiteral("quillmark"), bool build = true)
        : bank(connection)
    {
        fill();
        if (build)
            buildSession();
    }
    ~Fixture() { Clock::install(nullptr); }

    TestBank bank;
    FakeClock clock{QDateTime(QDate(2030, 5, 6), QTime(7, 8, 9))};
    QString pageId;

    void fill() const
    {
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addQuestion(u"C1"_s, u"Q1"_s, 1, u"A"_s, 1);
        bank.addQuestion(u"C1"_s, u"Q2"_s, 2, u"BD"_s, 2);
        bank.addQuestion(u"C1"_s, u"Q3"_s, 3, u"A"_s, 1);
        bank.insert(u"ex_page_id"_s, {u"C1"_s, u"Q4A"_s, u"4"_s, u"计算"_s, u"100"_s, u"200"_s, u"300"_s, u"-"_s,
                                      u"-"_s, u"-"_s, QString(), u"解析"_s, 1, 0, 6.0});
        bank.insert(u"ex_page_id"_s,
                    {u"C1"_s, u"Q4E"_s, u"4"_s, u"分录"_s, u"借:库存现金=100;贷:银行存款=100"_s, u"借:原材料=50"_s,
                     u"-"_s, u"-"_s, u"-"_s, u"-"_s, QString(), u"解析"_s, 0, 0, 10.0});
        bank.addCase(u"C1"_s, u"Q5"_s, 3, 2); // answers A, BC, A
        bank.addQuestion(u"C1"_s, u"Q6"_s, 6, QString(), 4);
    }

    void buildSession()
    {
        Clock::install(&clock);
        QRandomGenerator rng(1);
        pageId = session::buildChapterSession(bank.db(), clock, {u"C1"_s, {9, 9, 9, 9}, false}, rng).pageId;
    }

    QVariant record(const QString &pId, const QString &column) const
    {
        return db::scalar(bank.db(), u"select "_s + column + u" from test_page where page_id=? and p_id=?"_s,
                          {pageId, pId});
    }
    QVariant tmp(const QString &pId, const QString &sub, const QString &column) const
    {
        return db::scalar(bank.db(), u"select "_s + column + u" from tmp where c_p_id=? and e_m_id=?"_s, {pId, sub});
    }
};

} // namespace practicetest
