// The real update program importing and exporting question sheets in a throw-away program folder.
#include "db/sql.h"
#include "support/testbank.h"
#include "support/updaterun.h"
#include "unit/update_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using updatetest::bankBytes;
using updatetest::fileBytes;

const QString kSample = QStringLiteral(QM_SOURCE_DIR "/data/sheet/sample.csv");
const QString kRule = u"-------------------------------------------------------"_s;

using updaterun::installUpdate;
using updaterun::Run;
using updaterun::runUpdate;

QString report(const QList<int> &counts)
{
    const QStringList labels = {u"课程内容增加:"_s,     u"章节记录增加:"_s,         u"题目增加:"_s,
                                u"案例子项题目增加:"_s, u"网络课程记录增加:"_s,     u"课程讲义记录增加:"_s,
                                u"考试指南记录增加:"_s, u"注册面板文字记录增加:"_s, u"帮助中心记录增加:"_s};
    QString out;
    for (qsizetype k = 0; k < labels.size(); ++k)
        out += labels.at(k) + QString::number(counts.at(k)) + u"  条\n"_s + kRule + u'\n';
    // Neither import of the sample changes the key of a question the bank held before.
    out += u"答案有修改的题目:0  题\n其中您做过的题目:0  题\n"_s + kRule + u'\n';
    return out + u"本次更新成功....\n"_s;
}

} // namespace

class UpdateSheet : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The sample sheet goes into a bank that already holds one of its courses; a second import of
    // the same sheet finds the same rows and adds nothing.
    void sampleImportsAndAgainAddsNothing()
    {
        TestBank bank;
        installUpdate(bank);
        bank.addCourse(u"KJJC"_s, u"会计基础"_s);
        Run first = runUpdate(bank, {u"--import"_s, kSample});
        QVERIFY2(first.code == 0, qPrintable(first.err));
        QCOMPARE(first.out, report({2, 4, 8, 2, 0, 0, 0, 0, 0}));
        QCOMPARE(bank.count(u"ma_id"_s), 3);
        QCOMPARE(bank.count(u"ex_page_id"_s, u"p_type = '4' AND p_mask = 0"_s), 1);
        QCOMPARE(bank.count(u"ex_page_id p JOIN cap_id c ON c.c_id = p.c_id"_s, u"c.m_id = 'KJJC'"_s), 6);
        QCOMPARE(db::scalar(bank.db(), u"SELECT p_anwser FROM ex_page_id WHERE p_id = 'ZB_AL01'"_s).toString(),
                 u"1.B；2.ABC"_s);

        Run second = runUpdate(bank, {u"--import"_s, kSample});
        QVERIFY2(second.code == 0, qPrintable(second.err));
        QCOMPARE(second.out, report({0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(bank.count(u"ex_page_id"_s), 8);
    }

    // A sheet with problems: every one is said on standard error and the bank stays as it was.
    void sheetWithProblemsWritesNothing()
    {
        TestBank bank;
        installUpdate(bank);
        bank.writeFile(u"bad.csv"_s, u"课程,章节,题型,题干,A,B,答案\r\n"
                                     u"会计基础,第一章,单选题,题一,甲,乙,AB\r\n"
                                     u"会计基础,第一章,单选题,题二,甲,乙,A\r\n"
                                     u"会计基础,第一章,计算分析题,题三,,,借:原材料=100;贷:银行存款=90\r\n"_s.toUtf8());
        const QByteArray before = bankBytes(bank);
        Run run = runUpdate(bank, {u"--import"_s, bank.path(u"bad.csv"_s)});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, u"电子表格 %1 中有2处问题, 没有导入任何题目.\n"
                          u"第2行 答案: 单选题只能有一个答案 \"AB\"\n"
                          u"第4行 答案: 第1小题借贷不平衡: 借方合计 100, 贷方合计 90\n"_s.arg(bank.path(u"bad.csv"_s)));
        QCOMPARE(run.out, u"本次更新失败....\n"_s);
        QCOMPARE(bankBytes(bank), before);
    }

    void exportWritesTheSheet()
    {
        TestBank bank;
        installUpdate(bank);
        QVERIFY(runUpdate(bank, {u"--import"_s, kSample}).code == 0);
        Run run = runUpdate(bank, {u"--export"_s, u"out.csv"_s, u"会计基础"_s});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(run.out, u"已导出6道题目到 %1\n"_s.arg(bank.path(u"out.csv"_s)));
        const QByteArray sheet = fileBytes(bank.path(u"out.csv"_s));
        QVERIFY(sheet.startsWith("\xEF\xBB\xBF课程,章节,类别,题型,题干,"));
        QCOMPARE(sheet.count("\r\n"), 1 + 6);

        Run missing = runUpdate(bank, {u"--export"_s, u"none.csv"_s, u"没有的课程"_s});
        QCOMPARE(missing.code, 1);
        QCOMPARE(missing.err, u"题库中没有课程 \"没有的课程\".\n"_s);
        QVERIFY(!QFile::exists(bank.path(u"none.csv"_s)));

        Run usage = runUpdate(bank, {u"--export"_s});
        QCOMPARE(usage.code, 2);
    }
};

QTEST_GUILESS_MAIN(UpdateSheet)
#include "update_sheet.moc"
