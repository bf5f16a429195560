// The marks the two result panels show are the rounded decimals of floating-point sums.
#include "exam/handin.h"
#include "practice/practicetotals.h"
#include "records/ui/examresultpanel.h"
#include "records/ui/practiceresultpanel.h"
#include "shell/apppaths.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ResultPanels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void marksTexts_data()
    {
        QTest::addColumn<double>("score");
        QTest::addColumn<double>("full");
        QTest::addColumn<QString>("scoreText");
        QTest::addColumn<QString>("fullText");
        // 26.659999999999997 of 29.999999999999996
        QTest::newRow("20 marks and two shares of 3.33")
            << 20.0 + 3.33 + 3.33 << 20.0 + 3.33 + 3.33 + 3.34 << u"26.66 分"_s << u"30 分"_s;
        QTest::newRow("tenths") << 0.1 + 0.2 << 1.1 + 1.1 + 1.1 << u"0.3 分"_s << u"3.3 分"_s;
        QTest::newRow("whole and half") << 12.5 << 20.0 << u"12.5 分"_s << u"20 分"_s;
    }
    void marksTexts()
    {
        QFETCH(double, score);
        QFETCH(double, full);
        QFETCH(QString, scoreText);
        QFETCH(QString, fullText);

        QTemporaryDir programDir;
        AppPaths::setCurrent(programDir.path());
        PracticeResultPanel practice;
        practice::PracticeResult p;
        p.totals.score = score;
        p.totals.fullMarks = full;
        practice.showResult(p);
        QCOMPARE(practice.findChild<QLabel *>(u"resultScore"_s)->text(), scoreText);
        QCOMPARE(practice.findChild<QLabel *>(u"resultFull"_s)->text(), fullText);

        ExamResultPanel exam;
        exam::Totals t;
        t.score = score;
        exam.showResult(exam::resultOf(t, {u"模拟考试"_s, u"会计基础"_s, u"试卷"_s, 1, u"1秒"_s, {}, full}));
        QCOMPARE(exam.value(u"您本次得分:"_s), scoreText);
        QCOMPARE(exam.value(u"满分:"_s), fullText);
    }
};

QTEST_MAIN(ResultPanels)
#include "result_panels.moc"
