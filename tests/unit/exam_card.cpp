// The exam answer card as data: node texts, headings, the nodes of every type, colours and reselection.
#include "exam_fixture.h"

#include "db/sql.h"
#include "exam/answercard.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QTest>

using namespace Qt::StringLiterals;
using exam::AnswerCard;
using exam::NodeKey;
using exam::NodeState;

namespace {

QString build(const TestBank &bank, const QString &cId, int second = 0)
{
    FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, second)));
    return paper::buildFixed(bank.db(), clock, cId).pageId;
}

void answer(const TestBank &bank, const QString &pageId, const QString &pId, const QString &text, bool done = true)
{
    db::run(bank.db(), u"update test_page set p_answer=?,p_do_yn=? where page_id=? and p_id=?"_s,
            {text, done ? 1 : 0, pageId, pId});
}

void markLater(const TestBank &bank, const QString &pId, const QString &flags)
{
    db::run(bank.db(), u"update tmp set m_down=? where c_p_id=?"_s, {flags, pId});
}

QStringList texts(const AnswerCard &card)
{
    QStringList out;
    for (const exam::CardNode &n : card.nodes())
        out << n.text;
    return out;
}

} // namespace

class ExamCard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nodeTexts_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("text");
        QTest::newRow("answered") << 3 << u"AB"_s << 0 << u"3 [AB            ]"_s;
        QTest::newRow("unanswered sub-item") << 1 << QString() << 2 << u"1-2 [             ]"_s;
        QTest::newRow("eight bytes") << 12 << u"12345678"_s << 0 << u"12 [12345678      ]"_s;
        QTest::newRow("longer than eight") << 2 << u"123456789"_s << 1 << u"2-1 [12345678...  ]"_s;
        // 借:原材 is 7 bytes: the next character would cut at byte 9.
        QTest::newRow("gbk cut") << 1 << u"借:原材料=500"_s << 3 << u"1-3 [借:原材...   ]"_s;
        QTest::newRow("chinese fits") << 4 << u"对错对错"_s << 0 << u"4 [对错对错      ]"_s;
    }
    void nodeTexts()
    {
        QFETCH(int, number);
        QFETCH(QString, answer);
        QFETCH(int, sub);
        QFETCH(QString, text);
        QCOMPARE(exam::nodeText(number, answer, sub), text);
    }

    void slashItems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("amounts") << u"1200/300////"_s << QStringList{u"1200"_s, u"300"_s, QString(), QString()};
        QTest::newRow("no slash") << u"false"_s << QStringList{QString(), QString(), QString(), QString()};
        QTest::newRow("marks") << u"false/true/////"_s << QStringList{u"false"_s, u"true"_s, QString(), QString()};
        QTest::newRow("last item needs a slash") << u"a/b/c/d"_s << QStringList{u"a"_s, u"b"_s, u"c"_s, QString()};
    }
    void slashItems()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(exam::slashItem(text, k), items.at(k - 1));
    }

    void cardOfCalculationPaper()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = build(bank, u"T1"_s);
        answer(bank, pageId, u"S2"_s, u"A"_s);
        answer(bank, pageId, u"M1"_s, u"ACD"_s);
        answer(bank, pageId, u"K1"_s, u"1200/300////"_s);
        markLater(bank, u"S1"_s, u"true"_s);
        markLater(bank, u"K1"_s, u"false/true//"_s);
        const AnswerCard card = AnswerCard::build(bank.db(), pageId);
        QCOMPARE(texts(card),
                 (QStringList{u"单选题(共2题)"_s, u"1 [              ]"_s, u"2 [A             ]"_s, u"多选题(共2题)"_s,
                              u"1 [ACD           ]"_s, u"2 [              ]"_s, u"判断题(共2题)"_s,
                              u"1 [              ]"_s, u"2 [              ]"_s, u"计算分析题(共8题)"_s,
                              u"1-1 [1200         ]"_s, u"1-2 [300          ]"_s, u"1-3 [             ]"_s,
                              u"1-4 [             ]"_s, u"2-1 [             ]"_s, u"2-2 [             ]"_s,
                              u"2-3 [             ]"_s, u"2-4 [             ]"_s}));
        // Rows count questions over all types; all nodes of a question share its row and record.
        QCOMPARE(card.at(1).row, 1);
        QCOMPARE(card.at(8).row, 6);
        QCOMPARE(card.at(13).row, 7);
        QCOMPARE(card.at(17).row, 8);
        QCOMPARE(card.at(17).key, (NodeKey{2, 4}));
        QVERIFY(card.at(1).marked);
        QVERIFY(!card.at(10).marked);
        QVERIFY(card.at(11).marked);
        QVERIFY(card.at(12).done && card.at(12).pId == u"K1"_s);
    }

    void cardOfCasePaper()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = build(bank, u"T2"_s);
        answer(bank, pageId, u"X1"_s, u"/BC/////"_s);
        markLater(bank, u"X1"_s, u"false/true/////"_s);
        const AnswerCard card = AnswerCard::build(bank.db(), pageId);
        // A case heading counts five per question; a case without sub-questions has one plain node.
        QCOMPARE(texts(card), (QStringList{u"单选题(共2题)"_s, u"1 [              ]"_s, u"2 [              ]"_s,
                                           u"案例分析题(共10题)"_s, u"1 [              ]"_s, u"2-1 [             ]"_s,
                                           u"2-2 [BC           ]"_s, u"2-3 [             ]"_s}));
        QCOMPARE(card.at(4).pId, u"X0"_s);
        QCOMPARE(card.at(4).key, (NodeKey{1, 0}));
        QCOMPARE(card.at(6).key, (NodeKey{2, 2}));
        QVERIFY(card.at(6).marked && !card.at(5).marked && !card.at(7).marked);
        QCOMPARE(card.state(6, false), NodeState::Marked);
        QCOMPARE(card.state(5, false), NodeState::DoneBlank); // done, blank sub-item: grey, not aqua
    }

    void onlyPracticalQuestions()
    {
        TestBank bank;
        bank.addCourse(u"M"_s, u"初级会计电算化"_s);
        bank.addChapter(u"P"_s, u"试卷"_s, u"M"_s, u"2"_s);
        examfixture::addPractical(bank, u"P"_s, u"D1"_s);
        examfixture::addPractical(bank, u"P"_s, u"D2"_s);
        const AnswerCard card = AnswerCard::build(bank.db(), build(bank, u"P"_s));
        QCOMPARE(texts(card), (QStringList{u"实务操作题(共2题)"_s, u"1 [              ]"_s, u"2 [              ]"_s}));
    }

    void reviewFilterRestrictsTheCard()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = build(bank, u"T1"_s);
        db::run(bank.db(), u"update test_page set p_real_yn=1,p_do_yn=1 where p_id in ('S2','K2')"_s);
        const AnswerCard card = AnswerCard::build(bank.db(), pageId, SessionCursor::Filter::Right);
        QCOMPARE(texts(card).first(), u"单选题(共1题)"_s);
        QCOMPARE(card.size(), 2 + 5);
        QCOMPARE(card.at(2).text, u"计算分析题(共4题)"_s);
        QCOMPARE(card.at(3).row, 2);
    }

    void nodeStates_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("done");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("state");
        QTest::addColumn<quint32>("background");
        QTest::newRow("selected wins") << 1 << true << true << u"A"_s << true << int(NodeState::Current) << 0xFFFF00u;
        QTest::newRow("marked") << 1 << true << true << u"A"_s << false << int(NodeState::Marked) << 0xBE7E7Eu;
        QTest::newRow("done") << 2 << true << false << u"AB"_s << false << int(NodeState::Done) << 0x00FFFFu;
        QTest::newRow("done blank calc") << 4 << true << false << QString() << false << int(NodeState::DoneBlank)
                                         << 0xE3E3E3u;
        QTest::newRow("done calc") << 4 << true << false << u"500"_s << false << int(NodeState::Done) << 0x00FFFFu;
        QTest::newRow("done blank single")
            << 1 << true << false << QString() << false << int(NodeState::Done) << 0x00FFFFu;
        QTest::newRow("not done") << 3 << false << false << QString() << false << int(NodeState::NotDone) << 0xE3E3E3u;
    }
    void nodeStates()
    {
        QFETCH(int, type);
        QFETCH(bool, done);
        QFETCH(bool, marked);
        QFETCH(QString, answer);
        QFETCH(bool, selected);
        QFETCH(int, state);
        QFETCH(quint32, background);
        TestBank bank;
        bank.addCourse(u"M"_s, u"会计基础"_s);
        bank.addChapter(u"P"_s, u"试卷"_s, u"M"_s, u"2"_s);
        if (type == 4)
            examfixture::addCalc(bank, u"P"_s, u"Q"_s, {u"500"_s}, true);
        else
            bank.addQuestion(u"P"_s, u"Q"_s, type, u"A"_s);
        const QString pageId = build(bank, u"P"_s);
        answer_(bank, pageId, type == 4 && !answer.isEmpty() ? answer + u"/////"_s : answer, done);
        markLater(bank, u"Q"_s, type == 4 ? (marked ? u"true/"_s : u"false/"_s) : (marked ? u"true"_s : u"false"_s));
        const AnswerCard card = AnswerCard::build(bank.db(), pageId);
        QCOMPARE(int(card.state(1, selected)), state);
        QCOMPARE(exam::colours(card.state(1, selected)).background, background);
        QCOMPARE(card.state(0, false), NodeState::Heading);
        QCOMPARE(exam::colours(NodeState::Heading).text, 0x008080u);
    }

    // A node says what its colour shows: a calculation node with an empty answer looks not done.
    void stateNames_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("name");
        QTest::newRow("heading") << int(NodeState::Heading) << QString();
        QTest::newRow("current") << int(NodeState::Current) << u"当前"_s;
        QTest::newRow("marked") << int(NodeState::Marked) << u"待查"_s;
        QTest::newRow("done") << int(NodeState::Done) << u"已做"_s;
        QTest::newRow("done, blank") << int(NodeState::DoneBlank) << u"未做"_s;
        QTest::newRow("not done") << int(NodeState::NotDone) << u"未做"_s;
    }
    void stateNames()
    {
        QFETCH(int, state);
        QFETCH(QString, name);
        QCOMPARE(exam::stateName(NodeState(state)), name);
    }

    void reselection()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const AnswerCard card = AnswerCard::build(bank.db(), build(bank, u"T1"_s));
        QCOMPARE(card.reselect(u"K1"_s, std::nullopt), 13); // the last sub-item
        QCOMPARE(card.reselect(u"K1"_s, NodeKey{1, 2}), 11);
        QCOMPARE(card.reselect(u"S2"_s, NodeKey{2, 0}), 2);
        QCOMPARE(card.reselect(u"S2"_s, NodeKey{1, 0}), -1); // key of another question
        QCOMPARE(card.reselect(u"NONE"_s, std::nullopt), -1);
        // Next and previous step over the headings.
        QCOMPARE(card.nextNode(2), 4);
        QCOMPARE(card.previousNode(4), 2);
        QCOMPARE(card.previousNode(1), -1);
        QCOMPARE(card.nextNode(card.size() - 1), -1);
        QCOMPARE(card.nextNode(-1), 1);
    }

private:
    static void answer_(const TestBank &bank, const QString &pageId, const QString &text, bool done)
    {
        answer(bank, pageId, u"Q"_s, text, done);
    }
};

QTEST_GUILESS_MAIN(ExamCard)
#include "exam_card.moc"
