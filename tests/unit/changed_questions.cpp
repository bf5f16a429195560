// Questions whose key or stem a bank update changed: listed by the merge, counted in its report,
// and seen from the learner's answer records.
#include "db/schema.h"
#include "db/sql.h"
#include "records/changedquestions.h"
#include "shell/clock.h"
#include "support/testbank.h"
#include "update/updatejob.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace records;

namespace {

void answer(const TestBank &bank, const QString &pageId, const QString &pId, bool done)
{
    bank.insert(u"test_page"_s,
                {pageId, pId, 0, 0, 0, 0, 0, 0, u"A"_s, done ? 1 : 0, done ? 1 : 0, 0, 0, u""_s, 1.0, 1});
}

// Chapter C1 of course M1: Q01..Q04 single choice, Q05 a case with three sub-questions; chapter
// C2 of course M2: Q06.
void fillContent(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    bank.addChapter(u"C2"_s, u"第一章"_s, u"M2"_s);
    for (const QString &id : {u"Q01"_s, u"Q02"_s, u"Q03"_s, u"Q04"_s})
        bank.addQuestion(u"C1"_s, id, 1, u"A"_s);
    bank.addCase(u"C1"_s, u"Q05"_s, 3);
    bank.addQuestion(u"C2"_s, u"Q06"_s, 1, u"A"_s);
}

// "p_id m_id what changed_at", in id order.
QStringList changes(const TestBank &bank)
{
    QStringList out;
    QSqlQuery q =
        db::run(bank.db(), u"select p_id,m_id,what,changed_at,told from qm_changed order by p_id,m_id,what"_s);
    while (q.next())
        out << u"%1 %2 %3 %4 %5"_s.arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                       q.value(3).toString(), q.value(4).toString());
    return out;
}

} // namespace

class ChangedQuestionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { Clock::install(nullptr); }

    void upgradeAddsTheTable()
    {
        if (TestBank::onServer())
            QSKIP("upgrades a bank file of the first version");
        TestBank bank;
        // A bank of the first version, with the narrower indexes of that time.
        db::run(bank.db(), u"drop table qm_changed"_s);
        db::run(bank.db(), u"drop index ix_test_page_question"_s);
        db::run(bank.db(), u"create index ix_test_page_p_id on test_page (p_id,page_id)"_s);
        db::run(bank.db(), u"update qm_version set version=1"_s);
        db::ensureSchema(bank.db());
        QCOMPARE(db::scalar(bank.db(), u"select version from qm_version"_s).toInt(), db::kSchemaVersion);
        const auto indexes = [&](const QString &names) {
            return db::scalar(bank.db(),
                              u"select count(*) from sqlite_master where type='index' and name in (%1)"_s.arg(names))
                .toInt();
        };
        QCOMPARE(indexes(u"'ix_test_page_question','ix_qm_changed_p_id'"_s), 2);
        QCOMPARE(indexes(u"'ix_test_page_p_id'"_s), 0);
        QCOMPARE(
            db::scalar(bank.db(), u"select group_concat(name, ',') from pragma_table_info('qm_changed')"_s).toString(),
            u"p_id,m_id,what,changed_at,told"_s);
    }

    void mergeListsChangedKeysAndStems()
    {
        TestBank local;
        fillContent(local);
        // Answered before the update: Q01, Q02, Q05 and Q06; Q04 only met.
        answer(local, u"20261201080000"_s, u"Q01"_s, true);
        answer(local, u"20261201080000"_s, u"Q02"_s, true);
        answer(local, u"20261201080000"_s, u"Q04"_s, false);
        answer(local, u"20261202080000"_s, u"Q05"_s, true);
        answer(local, u"20261202080000"_s, u"Q06"_s, true);

        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillContent(incoming);
        const QSqlDatabase in = incoming.db();
        db::run(in, u"update ex_page_id set p_anwser='B' where p_id in ('Q01','Q03','Q04','Q06')"_s);
        db::run(in, u"update ex_page_id set p_subject_name='新题干' where p_id in ('Q02','Q03')"_s);
        db::run(in, u"update ex_sub set m_anwser='D' where p_id='Q05' and m_id='2'"_s);
        db::run(in, u"update ex_page_id set p_anwser_memo='新解析' where p_id='Q05'"_s); // neither key nor stem
        incoming.addQuestion(u"C1"_s, u"Q07"_s, 1, u"C"_s);                              // new, not a change

        FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(7, 30, 0)));
        Clock::install(&clock);
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        const QString at = u"20261210073000"_s;
        QCOMPARE(changes(local),
                 (QStringList{u"Q01  key %1 0"_s.arg(at), u"Q02  stem %1 0"_s.arg(at), u"Q03  key %1 0"_s.arg(at),
                              u"Q03  stem %1 0"_s.arg(at), u"Q04  key %1 0"_s.arg(at), u"Q05 2 key %1 0"_s.arg(at),
                              u"Q06  key %1 0"_s.arg(at)}));
        // Keys changed: Q01, Q03, Q04, Q05, Q06; answered before: Q01, Q05, Q06.
        QCOMPARE(outcome.report.mid(18), (QStringList{u"答案有修改的题目:5  题"_s, u"其中您做过的题目:3  题"_s,
                                                      u"-------------------------------------------------------"_s}));
        QVERIFY(outcome.message.contains(u"其中您做过的题目:3  题"_s));
        // The learner's records are as they were.
        QCOMPARE(local.count(u"test_page"_s), 5);
        QCOMPARE(local.count(u"test_page"_s, u"p_real_yn=1"_s), 4);

        QStringList course1;
        for (const ChangedQuestion &c : answeredChanged(local.db(), u"M1"_s))
            course1 << c.pId + u' ' + c.chapter + u' ' + c.changedOn.toString(Qt::ISODate);
        QCOMPARE(course1, (QStringList{u"Q01 第一章 2026-12-10"_s, u"Q05 第一章 2026-12-10"_s}));
        QCOMPARE(answeredChanged(local.db(), QString(), true).size(), 3);

        // Told once at a start; the report still lists them.
        markChangesTold(local.db());
        QVERIFY(answeredChanged(local.db(), QString(), true).isEmpty());
        QCOMPARE(answeredChanged(local.db(), QString()).size(), 3);

        // The same bank again changes nothing more.
        clock.advance(3600 * 1000);
        const UpdateJob::Outcome again = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(again.report.mid(18, 2), (QStringList{u"答案有修改的题目:0  题"_s, u"其中您做过的题目:0  题"_s}));
        QCOMPARE(changes(local).size(), 7);
    }

    void answeredAfterTheChangeDoesNotCount()
    {
        TestBank bank;
        fillContent(bank);
        answer(bank, u"20261211080000"_s, u"Q01"_s, true);  // after the change
        answer(bank, u"20261209080000"_s, u"Q02"_s, false); // before, but not answered
        answer(bank, u"20261209080000"_s, u"Q03"_s, true);
        for (const QString &id : {u"Q01"_s, u"Q02"_s, u"Q03"_s})
            bank.insert(u"qm_changed"_s, {id, u""_s, u"key"_s, u"20261210073000"_s, 0});
        bank.insert(u"qm_changed"_s, {u"Q03"_s, u""_s, u"key"_s, u"20261212073000"_s, 0}); // changed again
        QCOMPARE(answeredChangedAt(bank.db(), u"20261210073000"_s), 1);
        QCOMPARE(changedKeysAt(bank.db(), u"20261210073000"_s), 3);
        const QList<ChangedQuestion> list = answeredChanged(bank.db(), QString());
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.at(0).pId, u"Q03"_s);
        QCOMPARE(list.at(0).changedOn, QDate(2026, 12, 12)); // the latest change
    }
};

QTEST_GUILESS_MAIN(ChangedQuestionsTest)
#include "changed_questions.moc"
