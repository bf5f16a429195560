// Judging without a database: option exclusivity, answer letters, calculation marks, the two
// clocks of the practice window and the result texts.
#include "practice_fixture.h"

#include "practice/judging.h"
#include "practice/practiceclock.h"
#include "practice/practicetotals.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace practice;
using practicetest::boxes;

namespace {

SubItemAnswers answers(const QStringList &list)
{
    SubItemAnswers a;
    for (int k = 0; k < 6; ++k)
        a[k] = k < list.size() ? list.at(k) : u"-"_s;
    return a;
}

EditorContent entries(const QList<QStringList> &subItems)
{
    EditorContent c;
    for (int s = 0; s < subItems.size(); ++s) {
        for (int l = 0; l < subItems.at(s).size(); ++l) {
            const QString &t = subItems.at(s).at(l); // "借 account amount"
            const QStringList parts = t.split(u' ');
            c.lines[s][l] = {true, parts.at(0) == u"借" ? Direction::Debit : Direction::Credit, parts.at(1),
                             parts.at(2)};
        }
    }
    return c;
}

} // namespace

class PracticeJudging : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exclusivity_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("checked");
        QTest::addColumn<QString>("after");
        QTest::newRow("single keeps one") << 1 << u"ABD"_s << 3 << u"D"_s;
        QTest::newRow("true/false A drops B") << 3 << u"AB"_s << 0 << u"A"_s;
        QTest::newRow("true/false B drops A") << 3 << u"AB"_s << 1 << u"B"_s;
        QTest::newRow("multiple keeps all") << 2 << u"ABD"_s << 3 << u"ABD"_s;
        QTest::newRow("case keeps all") << 5 << u"AC"_s << 2 << u"AC"_s;
        QTest::newRow("unchecking changes nothing") << 1 << u"AB"_s << 3 << u"AB"_s;
    }
    void exclusivity()
    {
        QFETCH(int, type);
        QFETCH(QString, before);
        QFETCH(int, checked);
        QFETCH(QString, after);
        QCOMPARE(afterChecking(type, boxes(before), checked), boxes(after));
    }

    void letters_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("answer");
        QTest::newRow("single") << 1 << u"C"_s << u"C"_s;
        QTest::newRow("single, last wins") << 1 << u"AC"_s << u"C"_s;
        QTest::newRow("single, none") << 1 << QString() << QString();
        QTest::newRow("multiple in order") << 2 << u"DB"_s << u"BD"_s;
        QTest::newRow("true") << 3 << u"A"_s << u"A"_s;
        QTest::newRow("false wins") << 3 << u"AB"_s << u"B"_s;
        QTest::newRow("case") << 5 << u"CA"_s << u"AC"_s;
        QTest::newRow("practical operation") << 6 << u"A"_s << QString();
    }
    void letters()
    {
        QFETCH(int, type);
        QFETCH(QString, checked);
        QFETCH(QString, answer);
        QCOMPARE(choiceAnswer(type, boxes(checked)), answer);
    }

    void share_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<QStringList>("used");
        QTest::addColumn<double>("share");
        QTest::newRow("10 over 3") << 10.0 << QStringList{u"1"_s, u"2"_s, u"3"_s} << 3.33;
        QTest::newRow("6 over 3") << 6.0 << QStringList{u"1"_s, u"2"_s, u"3"_s} << 2.0;
        QTest::newRow("10 over 6") << 10.0 << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s} << 1.67;
        QTest::newRow("empty answer counts") << 4.0 << QStringList{QString(), u"2"_s} << 2.0;
        QTest::newRow("none used") << 10.0 << QStringList{} << 0.0;
    }
    void share()
    {
        QFETCH(double, score);
        QFETCH(QStringList, used);
        QFETCH(double, share);
        QCOMPARE(subItemShare(score, answers(used)), share);
    }

    void amounts_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<double>("score");
        QTest::addColumn<bool>("record");
        QTest::newRow("two right") << QStringList{u"100"_s, u" 200 "_s, u"1"_s} << u"100/200/1///"_s << 4.0 << true;
        QTest::newRow("text comparison") << QStringList{u"100.00"_s, u"200"_s, u"300"_s} << u"100.00/200/300///"_s
                                         << 4.0 << true;
        QTest::newRow("all empty") << QStringList{} << u"/////"_s << 0.0 << false;
        QTest::newRow("all zero") << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s} << u"0/0/0/0/0/0"_s
                                  << 0.0 << false;
    }
    void amounts()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, answer);
        QFETCH(double, score);
        QFETCH(bool, record);
        EditorContent c;
        for (int k = 0; k < typed.size(); ++k)
            c.amounts[k] = typed.at(k);
        const CalculationResult r = judgeAmounts(c, answers({u"100"_s, u"200"_s, u"300"_s}), 6);
        QCOMPARE(r.answer, answer);
        QCOMPARE(r.score, score);
        QCOMPARE(r.record, record);
    }

    void entriesMode_data()
    {
        QTest::addColumn<QList<QStringList>>("typed");
        QTest::addColumn<double>("score");
        QTest::addColumn<bool>("record");
        // Sub-item 1: 借:库存现金=100;贷:银行存款=100, sub-item 2: 借:原材料=500;贷:银行存款=500, share 5.
        QTest::newRow("both in order") << QList<QStringList>{{u"借 库存现金 100"_s, u"贷 银行存款 100"_s}} << 5.0
                                       << true;
        QTest::newRow("reverse order") << QList<QStringList>{{u"贷 银行存款 100"_s, u"借 库存现金 100"_s}} << 5.0
                                       << true;
        QTest::newRow("one line alone") << QList<QStringList>{{u"借 库存现金 100"_s}} << 0.0 << true;
        QTest::newRow("containment") << QList<QStringList>{{u"借 库存现金 10"_s, u"贷 银行存款 100"_s}} << 5.0 << true;
        QTest::newRow("repeated line counts twice")
            << QList<QStringList>{{u"借 库存现金 100"_s, u"借 库存现金 100"_s}} << 5.0 << true;
        QTest::newRow("extra wrong line costs the share")
            << QList<QStringList>{{u"借 库存现金 100"_s, u"贷 银行存款 100"_s, u"借 商誉 1"_s}} << 5.0 << true;
        QTest::newRow("both sub-items") << QList<QStringList>{{u"借 库存现金 100"_s, u"贷 银行存款 100"_s},
                                                              {u"借 原材料 500"_s, u"贷 银行存款 500"_s}}
                                        << 10.0 << true;
        QTest::newRow("nothing taken") << QList<QStringList>{} << 0.0 << false;
    }
    void entriesMode()
    {
        QFETCH(QList<QStringList>, typed);
        QFETCH(double, score);
        QFETCH(bool, record);
        const SubItemAnswers correct =
            answers({u"借:库存现金=100;贷:银行存款=100"_s, u"借:原材料=500;贷:银行存款=500"_s});
        const CalculationResult r = judgeEntries(entries(typed), correct, 10);
        QCOMPARE(r.score, score);
        QCOMPARE(r.record, record);
    }

    void entriesAnswerAndHiddenLines()
    {
        EditorContent c = entries({{u"借 库存现金 100"_s, u"贷 银行存款 100"_s}, {u"借 原材料 50"_s}});
        const SubItemAnswers correct = answers({u"借:库存现金=100;贷:银行存款=100"_s, u"借:原材料=50"_s});
        QCOMPARE(judgeEntries(c, correct, 10).answer, u"借:库存现金=100;贷:银行存款=100/;借:原材料=50////"_s);
        // A hidden line is ignored even with a direction.
        c.lines[0][1].shown = false;
        const CalculationResult r = judgeEntries(c, correct, 10);
        QCOMPARE(r.answer, u"借:库存现金=100/;借:原材料=50////"_s);
        QCOMPARE(r.score, 5.0);
        // Six sub-items of three long lines pass 255 characters; the text stays whole.
        EditorContent longOne;
        for (int s = 0; s < 6; ++s)
            longOne = entries(QList<QStringList>(6, {u"借 交易性金融资产 123456789.00"_s,
                                                     u"贷 其他货币资金 123456789.00"_s, u"贷 应付职工薪酬 1.00"_s}));
        QVERIFY(judgeEntries(longOne, correct, 10).answer.size() > 255);
        // No used sub-item: no marks.
        QCOMPARE(judgeEntries(c, answers({}), 10).score, 0.0);
    }

    void displayedAnswers()
    {
        QCOMPARE(displayAnswer(u"3"_s, u"A"_s), u"对"_s);
        QCOMPARE(displayAnswer(u"3"_s, u"B"_s), u"错"_s);
        QCOMPARE(displayAnswer(u"3"_s, QString()), QString());
        QCOMPARE(displayAnswer(u"1"_s, u"A"_s), u"A"_s);
    }

    void countdown_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("reset");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QList<int>>("switches"); // ticks (1-based) on which a switch happens
        QTest::addColumn<int>("value");
        QTest::newRow("20 seconds") << 20 << 20 << 61 << QList<int>{21, 41, 61} << 19;
        QTest::newRow("zero passes below zero") << 0 << 0 << 5 << QList<int>{1} << -5;
        QTest::newRow("started lower") << 3 << 10 << 15 << QList<int>{4, 14} << 8;
    }
    void countdown()
    {
        QFETCH(int, start);
        QFETCH(int, reset);
        QFETCH(int, ticks);
        QFETCH(QList<int>, switches);
        QFETCH(int, value);
        ForcedSwitch c(start, reset);
        QList<int> seen;
        for (int t = 1; t <= ticks; ++t) {
            const ForcedSwitch::Tick tick = c.tick(false, [&] {
                seen << t;
                c.restart(); // what the move itself does
            });
            QCOMPARE(tick.switched, seen.value(seen.size() - 1) == t);
            QCOMPARE(tick.beep, c.value() >= 1 && c.value() <= 5);
        }
        QCOMPARE(seen, switches);
        QCOMPARE(c.value(), value);
    }

    void countdownAtLastQuestion()
    {
        ForcedSwitch c(1, 5);
        QVERIFY(!c.tick(true).switched);
        QCOMPARE(c.value(), 0);
        const ForcedSwitch::Tick t = c.tick(true);
        QVERIFY(!t.switched);
        QCOMPARE(c.value(), 4); // restarted at question_seconds - 1 without moving
        QVERIFY(t.beep);
    }

    void elapsed_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << u"0"_s;
        QTest::newRow("59") << 59 << u"59秒"_s;
        QTest::newRow("60") << 60 << u"1分0秒"_s;
        QTest::newRow("65") << 65 << u"1分5秒"_s;
        QTest::newRow("3600") << 3600 << u"1小时0分0秒"_s;
        QTest::newRow("3725") << 3725 << u"1小时2分5秒"_s;
    }
    void elapsed()
    {
        QFETCH(int, ticks);
        QFETCH(QString, text);
        ElapsedClock clock;
        for (int k = 0; k < ticks; ++k)
            clock.tick();
        QCOMPARE(clock.text(), text);
    }

    void resultTexts_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<double>("full");
        QTest::addColumn<QString>("percent");
        QTest::newRow("75") << 15.0 << 20.0 << u"75%"_s;
        QTest::newRow("62.5 to even") << 12.5 << 20.0 << u"62%"_s;
        QTest::newRow("37.5 to even") << 7.5 << 20.0 << u"38%"_s;
        QTest::newRow("no full marks") << 0.0 << 0.0 << u"0.0%"_s;
        QTest::newRow("all") << 3.0 << 3.0 << u"100%"_s;
    }
    void resultTexts()
    {
        QFETCH(double, score);
        QFETCH(double, full);
        QFETCH(QString, percent);
        QCOMPARE(percentText(score, full), percent);
    }
};

QTEST_GUILESS_MAIN(PracticeJudging)
#include "practice_judging.moc"
