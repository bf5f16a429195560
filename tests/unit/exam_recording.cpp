// Recording and restoring exam answers: choices, case sub-questions, calculation amounts and
// entries, the answer panel's sub-item texts and the check-later flags.
#include "exam_fixture.h"

#include "db/sql.h"
#include "exam/examrecorder.h"
#include "practice/judging.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QTest>

using namespace Qt::StringLiterals;
using exam::Boxes;

namespace {

Boxes boxesOf(const QString &letters)
{
    Boxes b{};
    for (const QChar c : letters)
        b[c.unicode() - u'A'] = true;
    return b;
}

struct Fixture
{
    TestBank bank;
    QString pageId;
    Fixture(const QString &cId = u"T1"_s)
    {
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        pageId = paper::buildFixed(bank.db(), clock, cId).pageId;
    }
    exam::Question question(const QString &pId) const { return *exam::loadQuestion(bank.db(), pId); }
    exam::AnswerRow row(const QString &pId) const { return *exam::loadAnswerRow(bank.db(), pageId, pId); }
};

// Editor content with the given line texts ("借:原材料=500") shown, one list per sub-item.
practice::EditorContent entered(const QList<QStringList> &subItems)
{
    practice::EditorContent content;
    for (int s = 0; s < subItems.size(); ++s) {
        for (int l = 0; l < subItems.at(s).size(); ++l) {
            const QString &text = subItems.at(s).at(l);
            const qsizetype eq = text.indexOf(u'=');
            content.lines[s][l] = {true, text.startsWith(u'借') ? practice::Direction::Debit : practice::Direction::Credit,
                                   text.mid(2, eq - 2), text.mid(eq + 1)};
        }
    }
    return content;
}

} // namespace

class ExamRecording : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choices_data()
    {
        QTest::addColumn<QString>("pId");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("right");
        QTest::newRow("single right") << u"S1"_s << u"A"_s << u"A"_s << true;
        QTest::newRow("single wrong") << u"S1"_s << u"B"_s << u"B"_s << false;
        QTest::newRow("single keeps the last box") << u"S2"_s << u"BA"_s << u"B"_s << false;
        QTest::newRow("multiple right") << u"M1"_s << u"ACD"_s << u"ACD"_s << true;
        QTest::newRow("multiple partial is wrong") << u"M1"_s << u"AC"_s << u"AC"_s << false;
        QTest::newRow("judge false") << u"J2"_s << u"B"_s << u"B"_s << true;
        QTest::newRow("judge both boxes read as false") << u"J1"_s << u"AB"_s << u"B"_s << false;
    }
    void choices()
    {
        QFETCH(QString, pId);
        QFETCH(QString, checked);
        QFETCH(QString, answer);
        QFETCH(bool, right);
        Fixture f;
        QVERIFY(exam::recordChoice(f.bank.db(), f.pageId, f.question(pId), boxesOf(checked)));
        const exam::AnswerRow row = f.row(pId);
        QCOMPARE(row.answer, answer);
        QVERIFY(row.done);
        QCOMPARE(row.right, right);
        QCOMPARE(row.flags, boxesOf(checked));
        QCOMPARE(row.score.toDouble(), f.question(pId).score); // marks stay those of the question
    }

    void leavingWithoutChoiceKeepsTheAnswer()
    {
        Fixture f;
        QVERIFY(exam::recordChoice(f.bank.db(), f.pageId, f.question(u"S1"_s), boxesOf(u"A"_s)));
        QVERIFY(!exam::recordChoice(f.bank.db(), f.pageId, f.question(u"S1"_s), Boxes{}));
        QCOMPARE(f.row(u"S1"_s).answer, u"A"_s);
        QVERIFY(f.row(u"S1"_s).right);
        QVERIFY(!exam::recordChoice(f.bank.db(), f.pageId, f.question(u"S2"_s), Boxes{}));
        QVERIFY(!f.row(u"S2"_s).done);
    }

    void caseSubQuestions()
    {
        Fixture f(u"T2"_s);
        const exam::Question x1 = f.question(u"X1"_s); // sub-questions A, BC, A worth 2 each
        QVERIFY(exam::recordCaseSub(f.bank.db(), f.pageId, x1, 2, u"B"_s));
        exam::AnswerRow row = f.row(u"X1"_s);
        QCOMPARE(row.answer, u"/B/////"_s);
        QVERIFY(row.done && row.right);
        QVERIFY(row.score.isNull()); // nothing right: no value stored
        QCOMPARE(row.flags, (Boxes{false, true, false, false, false, false}));

        QVERIFY(exam::recordCaseSub(f.bank.db(), f.pageId, x1, 1, u"A"_s));
        QVERIFY(exam::recordCaseSub(f.bank.db(), f.pageId, x1, 3, u"A"_s));
        row = f.row(u"X1"_s);
        QCOMPARE(row.answer, u"A/B/A////"_s);
        QCOMPARE(row.score.toDouble(), 4.0);

        QVERIFY(exam::recordCaseSub(f.bank.db(), f.pageId, x1, 2, u"BC"_s));
        QCOMPARE(f.row(u"X1"_s).score.toDouble(), 6.0);
        QVERIFY(!exam::recordCaseSub(f.bank.db(), f.pageId, x1, 2, QString()));
        QCOMPARE(f.row(u"X1"_s).answer, u"A/BC/A////"_s);
    }

    void caseMarksKeepOneDecimal()
    {
        TestBank bank;
        bank.addCourse(u"M"_s, u"财经法规"_s);
        bank.addChapter(u"P"_s, u"试卷"_s, u"M"_s, u"2"_s);
        bank.addCase(u"P"_s, u"X"_s, 3, 1.25);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const QString pageId = paper::buildFixed(bank.db(), clock, u"P"_s).pageId;
        const exam::Question x = *exam::loadQuestion(bank.db(), u"X"_s);
        exam::recordCaseSub(bank.db(), pageId, x, 1, u"A"_s);
        exam::recordCaseSub(bank.db(), pageId, x, 3, u"A"_s);
        QCOMPARE(exam::loadAnswerRow(bank.db(), pageId, u"X"_s)->score.toDouble(), 2.5);
        exam::recordCaseSub(bank.db(), pageId, x, 2, u"BC"_s);
        QCOMPARE(exam::loadAnswerRow(bank.db(), pageId, u"X"_s)->score.toDouble(), 3.8); // 3.75 as "#.#"
    }

    void amounts_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<double>("marks");
        QTest::newRow("two right") << QStringList{u" 1200 "_s, u"300"_s, u"50"_s} << true << u"1200/300/50///"_s << 6.66;
        QTest::newRow("all right") << QStringList{u"1200"_s, u"300"_s, u"500"_s} << true << u"1200/300/500///"_s
                                   << 9.99;
        QTest::newRow("text comparison") << QStringList{u"1200.00"_s} << true << u"1200.00/////"_s << 0.0;
        QTest::newRow("blank") << QStringList{} << false << QString() << 0.0;
        QTest::newRow("untouched zeros") << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s} << false
                                         << QString() << 0.0;
    }
    void amounts()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, written);
        QFETCH(QString, answer);
        QFETCH(double, marks);
        Fixture f;
        practice::EditorContent editor;
        for (int k = 0; k < typed.size(); ++k)
            editor.amounts[k] = typed.at(k);
        QCOMPARE(exam::recordCalculation(f.bank.db(), f.pageId, f.question(u"K1"_s), editor), written);
        const exam::AnswerRow row = f.row(u"K1"_s);
        QCOMPARE(row.done, written);
        if (written) {
            QCOMPARE(row.answer, answer);
            QVERIFY(row.right);
            QCOMPARE(row.score.toDouble(), marks);
        }
    }

    void entries_data()
    {
        QTest::addColumn<QStringList>("sub1");
        QTest::addColumn<QStringList>("sub2");
        QTest::addColumn<double>("marks");
        // K2: sub-item 1 借:原材料=500;贷:银行存款=500, sub-item 2 借:管理费用=200;贷:库存现金=200, share 5.
        QTest::newRow("both in any order") << QStringList{u"贷:银行存款=500"_s, u"借:原材料=500"_s}
                                           << QStringList{u"借:管理费用=200"_s, u"贷:库存现金=200"_s} << 10.0;
        QTest::newRow("extra wrong line costs nothing")
            << QStringList{u"借:原材料=500"_s, u"贷:银行存款=500"_s, u"借:库存商品=9"_s} << QStringList{} << 5.0;
        QTest::newRow("containment") << QStringList{u"借:原材料=50"_s, u"贷:银行存款=500"_s} << QStringList{} << 5.0;
        QTest::newRow("one line of two") << QStringList{u"借:原材料=500"_s} << QStringList{u"贷:库存现金=200"_s}
                                         << 0.0;
    }
    void entries()
    {
        QFETCH(QStringList, sub1);
        QFETCH(QStringList, sub2);
        QFETCH(double, marks);
        Fixture f;
        const practice::EditorContent editor = entered({sub1, sub2});
        const QString text = sub1.join(u';') + u"/"_s + (sub2.isEmpty() ? QString() : u";"_s + sub2.join(u';'))
            + u"////"_s;
        QVERIFY(exam::recordCalculation(f.bank.db(), f.pageId, f.question(u"K2"_s), editor));
        const exam::AnswerRow row = f.row(u"K2"_s);
        QCOMPARE(row.answer, text);
        QVERIFY(row.done && row.right);
        QCOMPARE(row.score.toDouble(), marks);
    }

    void entriesWithoutLinesWriteNothing()
    {
        Fixture f;
        practice::EditorContent editor = entered({});
        QVERIFY(!exam::recordCalculation(f.bank.db(), f.pageId, f.question(u"K2"_s), editor));
        editor.lines[0][0] = {false, practice::Direction::Debit, u"原材料"_s, u"500"_s}; // a hidden line is not taken
        QVERIFY(!exam::recordCalculation(f.bank.db(), f.pageId, f.question(u"K2"_s), editor));
        QVERIFY(!f.row(u"K2"_s).done);
    }

    void restoredBoxes()
    {
        exam::AnswerRow row;
        row.type = 2;
        row.flags = boxesOf(u"AC"_s);
        QCOMPARE(exam::restoredBoxes(row, 0), Boxes{}); // not done
        row.done = true;
        QCOMPARE(exam::restoredBoxes(row, 0), boxesOf(u"AC"_s));
        row.type = 5;
        row.answer = u"A/BD/////"_s;
        QCOMPARE(exam::restoredBoxes(row, 2), boxesOf(u"BD"_s));
        QCOMPARE(exam::restoredBoxes(row, 3), Boxes{});
        QCOMPARE(exam::restoredBoxes(row, 0), Boxes{}); // no sub-question selected
    }

    void subAnswerTexts()
    {
        const exam::SubAnswer calc = exam::calcSubAnswer(u"1200/;借:原材料=500;贷:银行存款=500////"_s, 2);
        QCOMPARE(calc.correct, u"请查看解析..."_s);
        QCOMPARE(calc.yours, u"借:原材料 500\n贷:银行存款 500"_s);
        QCOMPARE(exam::calcSubAnswer(QString(), 1).yours, QString());
        const exam::SubAnswer kase = exam::caseSubAnswer(u"A/BC/////"_s, u"BD"_s, 2);
        QCOMPARE(kase.correct, u"BD"_s);
        QCOMPARE(kase.yours, u"BC"_s);
        QCOMPARE(exam::noSubAnswer().correct, u"未择定答案"_s);
        QCOMPARE(exam::noSubAnswer().yours, u"未确定答案"_s);
    }

    void checkLaterFlags_data()
    {
        QTest::addColumn<QString>("pId");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sub");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("single") << u"F1"_s << 1 << 0 << true << u"true"_s;
        QTest::newRow("case sub-question 2") << u"X1"_s << 5 << 2 << true << u"false/true/////"_s;
        QTest::newRow("case without sub-questions") << u"X0"_s << 5 << 0 << true << u"true"_s;
        QTest::newRow("unmark") << u"F2"_s << 1 << 0 << false << u"false"_s;
    }
    void checkLaterFlags()
    {
        QFETCH(QString, pId);
        QFETCH(int, type);
        QFETCH(int, sub);
        QFETCH(bool, marked);
        QFETCH(QString, stored);
        Fixture f(u"T2"_s);
        exam::setCheckLater(f.bank.db(), pId, type, sub, marked);
        QCOMPARE(db::scalar(f.bank.db(), u"select m_down from tmp where c_p_id=?"_s, {pId}).toString(), stored);
        QCOMPARE(f.bank.count(u"tmp"_s, u"m_down='false'"_s), marked ? 3 : 4);
    }
};

QTEST_GUILESS_MAIN(ExamRecording)
#include "exam_recording.moc"
