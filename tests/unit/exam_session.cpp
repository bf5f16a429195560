// The exam window's logic without a window: cursor moves from the answer card, next and previous
// through sub-items, the remembered key, recording on leaving, restoring and marks for later.
#include "exam_fixture.h"

#include "db/sql.h"
#include "exam/examsession.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using exam::NodeKey;

namespace {

struct Fixture
{
    TestBank bank;
    QString pageId;
    std::unique_ptr<ExamSession> session;
    explicit Fixture(const QString &cId)
    {
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Built built = paper::buildFixed(bank.db(), clock, cId);
        pageId = built.pageId;
        ExamInputs in;
        in.pageId = pageId;
        in.questionTotal = built.questionTotal;
        in.sessionKind = u"模拟考试"_s;
        session = std::make_unique<ExamSession>(bank.db(), in);
        session->start();
    }
    exam::AnswerRow row(const QString &pId) const { return *exam::loadAnswerRow(bank.db(), pageId, pId); }
    QString selectedText() const { return session->selectedNode() ? session->selectedNode()->text : QString(); }
    int indexOf(const QString &pId, NodeKey key) const
    {
        for (int k = 0; k < session->card().size(); ++k) {
            if (session->card().at(k).pId == pId && session->card().at(k).key == key)
                return k;
        }
        return -1;
    }
};

AnswerInput choice(const QString &letters)
{
    AnswerInput in;
    for (const QChar c : letters)
        in.boxes[c.unicode() - u'A'] = true;
    return in;
}

} // namespace

class ExamSessionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsOnTheFirstQuestion()
    {
        Fixture f(u"T1"_s);
        QCOMPARE(f.session->cursor().row(), 1);
        QCOMPARE(f.session->question()->pId, u"S1"_s);
        QCOMPARE(f.session->counterText(), u"第1题               共8题"_s);
        QCOMPARE(f.session->navigationPictures().first(), u"skin/off_first.bmp"_s);
        QCOMPARE(f.selectedText(), u"1 [              ]"_s);
        QCOMPARE(f.session->markCaption(), u"待查"_s);
        QVERIFY(!f.session->answerPanel().subRow);
    }

    void nextRecordsAndMoves()
    {
        Fixture f(u"T1"_s);
        QSignalSpy restored(f.session.get(), &ExamSession::inputsRestored);
        f.session->next(choice(u"A"_s));
        QCOMPARE(f.session->question()->pId, u"S2"_s);
        QCOMPARE(f.row(u"S1"_s).answer, u"A"_s);
        QVERIFY(f.row(u"S1"_s).right);
        QCOMPARE(restored.count(), 1);
        QCOMPARE(f.session->navigationPictures().at(1), u"skin/pirr.bmp"_s);
        // Over the heading to the first multiple-choice question.
        f.session->next(choice(u"B"_s));
        QCOMPARE(f.session->question()->pId, u"M1"_s);
        QCOMPARE(f.session->cursor().row(), 3);
        f.session->previous(AnswerInput{});
        QCOMPARE(f.session->question()->pId, u"S2"_s);
        QCOMPARE(f.session->restoreView().boxes, choice(u"B"_s).boxes);
        QCOMPARE(f.selectedText(), u"2 [B             ]"_s);
    }

    void calculationSubItemsOneByOne()
    {
        Fixture f(u"T1"_s);
        f.session->choose(f.indexOf(u"K1"_s, {1, 1}), AnswerInput{});
        QCOMPARE(f.session->question()->pId, u"K1"_s);
        QCOMPARE(f.session->redSubItem(), 1);
        QVERIFY(f.session->answerPanel().subRow);
        QCOMPARE(f.session->answerPanel().correct, u"请查看解析..."_s);
        AnswerInput amounts;
        amounts.editor.amounts = {u"1200"_s, u"300"_s};
        f.session->next(amounts);
        // Same question, next sub-item: the card shows what was recorded.
        QCOMPARE(f.session->question()->pId, u"K1"_s);
        QCOMPARE(f.selectedText(), u"1-2 [300          ]"_s);
        QCOMPARE(f.session->redSubItem(), 2);
        QCOMPARE(f.session->answerPanel().yours, u"300"_s);
        QCOMPARE(f.row(u"K1"_s).score.toDouble(), 6.66);
        f.session->next(amounts);
        f.session->next(amounts);
        f.session->next(amounts);
        QCOMPARE(f.session->question()->pId, u"K2"_s);
        QCOMPARE(f.session->calcNumber(), 2);
        QVERIFY(f.session->restoreView().calc);
        QVERIFY(f.session->restoreView().editor.lines[0][1].shown); // entries mode: lines 1 and 2
        // Past the last node nothing moves.
        for (int k = 0; k < 4; ++k)
            f.session->next(AnswerInput{});
        QCOMPARE(f.selectedText(), u"2-4 [             ]"_s);
        QCOMPARE(f.session->navigationPictures().at(3), u"skin/off_last.bmp"_s);
    }

    void caseSubQuestionsFollowTheRememberedKey()
    {
        Fixture f(u"T2"_s);
        QSignalSpy subs(f.session.get(), &ExamSession::subQuestionChanged);
        f.session->choose(f.indexOf(u"X1"_s, {2, 2}), AnswerInput{});
        QCOMPARE(f.session->subQuestion()->mId, u"2"_s);
        QVERIFY(subs.count() >= 1);
        QCOMPARE(f.session->answerPanel().correct, u"BC"_s);
        f.session->next(choice(u"BC"_s));
        QCOMPARE(f.session->subQuestion()->mId, u"3"_s);
        QCOMPARE(f.row(u"X1"_s).answer, u"/BC/////"_s);
        QCOMPARE(f.row(u"X1"_s).score.toDouble(), 2.0);
        f.session->previous(choice(u"A"_s));
        QCOMPARE(f.row(u"X1"_s).answer, u"/BC/A////"_s);
        QCOMPARE(f.session->subQuestion()->mId, u"2"_s);
        QCOMPARE(f.session->subQuestionBoxes(), choice(u"BC"_s).boxes);
        QCOMPARE(f.session->answerPanel().analysis, u"小题解析 2"_s);

        // First and last forget the key: no sub-question until a sub-item node is chosen, and
        // leaving then records nothing for the case.
        f.session->first(AnswerInput{});
        f.session->last(choice(u"A"_s));
        QCOMPARE(f.session->question()->pId, u"X1"_s);
        QVERIFY(!f.session->subQuestion());
        QCOMPARE(f.selectedText(), u"2-3 [A            ]"_s);
        f.session->first(choice(u"D"_s));
        QCOMPARE(f.row(u"X1"_s).answer, u"/BC/A////"_s);
    }

    void caseWithoutSubQuestions()
    {
        Fixture f(u"T2"_s);
        f.session->choose(f.indexOf(u"X0"_s, {1, 0}), AnswerInput{});
        QCOMPARE(f.session->question()->pId, u"X0"_s);
        QCOMPARE(f.session->answerPanel().correct, u"未择定答案"_s);
        f.session->toggleMark();
        QCOMPARE(f.session->markCaption(), u"取消待查"_s);
        f.session->next(choice(u"A"_s));
        QVERIFY(!f.row(u"X0"_s).done);
    }

    void marksForLater()
    {
        Fixture f(u"T2"_s);
        f.session->choose(f.indexOf(u"X1"_s, {2, 2}), AnswerInput{});
        QVERIFY(!f.session->markedEver());
        f.session->toggleMark();
        QVERIFY(f.session->markedEver());
        QCOMPARE(f.session->markCaption(), u"取消待查"_s);
        QCOMPARE(db::scalar(f.bank.db(), u"select m_down from tmp where c_p_id='X1'"_s).toString(),
                 u"false/true/////"_s);
        const int marked = f.indexOf(u"X1"_s, {2, 2});
        QVERIFY(f.session->card().at(marked).marked);
        QCOMPARE(f.session->card().state(marked, false), exam::NodeState::Marked);
        f.session->toggleMark();
        QCOMPARE(f.session->markCaption(), u"待查"_s);
        QVERIFY(f.session->markedEver());
        QCOMPARE(db::scalar(f.bank.db(), u"select m_down from tmp where c_p_id='X1'"_s).toString(),
                 u"false/false/////"_s);
    }

    void entriesAnswerWithoutLinesTurnsUndone()
    {
        Fixture f(u"T1"_s);
        db::run(f.bank.db(), u"update test_page set p_do_yn=1,p_answer='/////' where p_id='K2'"_s);
        f.session->choose(f.indexOf(u"K2"_s, {2, 1}), AnswerInput{});
        QVERIFY(!f.row(u"K2"_s).done);
        // Shown empty: no amounts, the first two lines of every sub-item shown without direction.
        practice::EditorContent empty;
        for (practice::SubItemLines &lines : empty.lines) {
            lines[0].shown = true;
            lines[1].shown = true;
        }
        QCOMPARE(f.session->restoreView().editor, empty);
        QVERIFY(f.session->restoreView().calc);
    }

    // A judged entries-mode answer comes with its line-by-line explanation; amounts mode and an
    // unanswered question come without.
    void entriesAnswerExplainedInThePanel()
    {
        Fixture f(u"T1"_s);
        db::run(f.bank.db(), u"update test_page set p_do_yn=1,p_answer=? where p_id='K2'"_s,
                {u"贷:银行存款=500;借:原材料=500/;借:管理费用=200;贷:银行存款=200////"_s});
        db::run(f.bank.db(), u"update test_page set p_do_yn=1,p_answer='1200/300/500///' where p_id='K1'"_s);
        f.session->choose(f.indexOf(u"K2"_s, {2, 1}), AnswerInput{});
        const QList<practice::SubItemCheck> checks = f.session->answerPanel().entryChecks;
        QCOMPARE(checks.size(), 2);
        QCOMPARE(checks.at(0).faults(), 0);
        QVERIFY(checks.at(0).credited);
        QCOMPARE(checks.at(1).faults(), 1);
        QCOMPARE(practice::describe(checks.at(1).lines.at(1)), u"科目错误：贷:银行存款=200，应为 库存现金"_s);
        f.session->choose(f.indexOf(u"K1"_s, {1, 1}), AnswerInput{});
        QVERIFY(f.session->answerPanel().entryChecks.isEmpty());
    }

    // The question moved to cannot be read (its table is gone): the move is refused with the
    // error, and cursor, question, card selection and remembered key stay on the row shown; the
    // answer left behind was recorded before the move.
    void unreadableQuestionKeepsTheShownRow_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("next") << u"next"_s;
        QTest::newRow("last") << u"last"_s;
        QTest::newRow("card node") << u"card"_s;
    }
    void unreadableQuestionKeepsTheShownRow()
    {
        QFETCH(QString, step);
        Fixture f(u"T1"_s);
        QSignalSpy shown(f.session.get(), &ExamSession::questionChanged);
        const int k1 = f.indexOf(u"K1"_s, {1, 1});
        db::run(f.bank.contentDb(), u"alter table ex_page_id rename to ex_page_id_gone"_s);
        const auto move = [&] {
            if (step == u"next")
                f.session->next(choice(u"A"_s));
            else if (step == u"last")
                f.session->last(choice(u"A"_s));
            else
                f.session->choose(k1, choice(u"A"_s));
        };
        QVERIFY_THROWS_EXCEPTION(db::Error, move());
        QCOMPARE(f.session->cursor().row(), 1);
        QCOMPARE(f.session->question()->pId, u"S1"_s);
        QCOMPARE(f.session->row()->pId, u"S1"_s);
        QCOMPARE(f.session->selectedNode()->pId, u"S1"_s);
        QVERIFY(!f.session->remembered());
        QCOMPARE(shown.count(), 0);
        QCOMPARE(f.row(u"S1"_s).answer, u"A"_s);

        db::run(f.bank.contentDb(), u"alter table ex_page_id_gone rename to ex_page_id"_s);
        f.session->next(AnswerInput{});
        QCOMPARE(f.session->cursor().row(), 2);
        QCOMPARE(f.session->question()->pId, u"S2"_s);
        QCOMPARE(f.session->selectedNode()->pId, u"S2"_s);
        QCOMPARE(f.session->row()->pId, u"S2"_s);
    }

    void judgeAnswersShownAsRightOrWrong()
    {
        Fixture f(u"T1"_s);
        f.session->choose(f.indexOf(u"J1"_s, {1, 0}), AnswerInput{});
        f.session->next(choice(u"A"_s));
        f.session->previous(AnswerInput{});
        QCOMPARE(f.session->answerPanel().correct, u"对"_s);
        QCOMPARE(f.session->answerPanel().yours, u"对"_s);
        f.session->next(AnswerInput{});
        QCOMPARE(f.session->answerPanel().correct, u"错"_s);
        QCOMPARE(f.session->answerPanel().yours, QString());
    }
};

QTEST_GUILESS_MAIN(ExamSessionTest)
#include "exam_session.moc"
