// The updater window's third choice: a question sheet checked and merged, with its progress, its
// report, and the problems of a refused sheet in place of the report.
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"
#include "unit/update_files.h"
#include "update/ui/updatewindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class UpdateSheetWindow : public QObject
{
    Q_OBJECT
    template <typename T> static T *child(UpdateWindow &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }

    static std::unique_ptr<UpdateWindow> open(const TestBank &bank, const QString &sheet)
    {
        AppPaths::setCurrent(bank.dir());
        auto w = UpdateWindow::create({u"http://127.0.0.1:1/"_s, u"2009-05-01"_s});
        w->setSheetChooser([sheet] { return sheet; });
        w->show();
        child<QRadioButton>(*w, "RadioButton3")->click();
        return w;
    }

private Q_SLOTS:
    void sheetIsMerged()
    {
        TestBank bank;
        messages::Responder responder;
        const auto w = open(bank, QStringLiteral(QM_SOURCE_DIR "/data/sheet/sample.csv"));
        QCOMPARE(child<QRadioButton>(*w, "RadioButton3")->text(), u"电子表格导入"_s);
        QVERIFY(!child<QRadioButton>(*w, "RadioButton1")->isChecked());
        QStringList titles;
        connect(&w->job(), &UpdateJob::step, this,
                [&](const QString &) { titles << child<QGroupBox>(*w, "GroupBox1")->title(); });
        QSignalSpy tables(&w->job(), &UpdateJob::tableMerged);
        QTest::mouseClick(child<QPushButton>(*w, "Button1"), Qt::LeftButton);

        QCOMPARE(titles, (QStringList{u"请稍等,正在检查电子表格..."_s, u"请稍等,正在分析题库升级信息..."_s}));
        QCOMPARE(tables.size(), 9);
        QCOMPARE(child<QProgressBar>(*w, "ProgressBar1")->value(), 9);
        QCOMPARE(responder.shown().size(), 1);
        QVERIFY2(responder.lastText().contains(u"题目增加:8  条"_s), qPrintable(responder.lastText()));
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新成功...."_s);
        QCOMPARE(bank.count(u"ex_page_id"_s), 8);
        QCOMPARE(bank.count(u"ex_sub"_s), 2);
        QCOMPARE(child<QPushButton>(*w, "Button1")->text(), u"关闭"_s);
    }

    void refusedSheetListsItsProblems()
    {
        TestBank bank;
        messages::Responder responder;
        QByteArray sheet = "课程,章节,题型,题干,A,B,答案\r\n"_ba;
        for (int k = 0; k < 12; ++k)
            sheet += u"会计基础,第一章,判断题,题%1,,,是\r\n"_s.arg(k).toUtf8();
        bank.writeFile(u"bad.csv"_s, sheet);
        const QByteArray before = updatetest::bankBytes(bank);
        const auto w = open(bank, bank.path(u"bad.csv"_s));
        QTest::mouseClick(child<QPushButton>(*w, "Button1"), Qt::LeftButton);

        const QString problem = u"第%1行 答案: 判断题的答案应为\"对\"或\"错\" \"是\""_s;
        auto *memo = child<QPlainTextEdit>(*w, "Memo1");
        QVERIFY(memo->isVisible());
        QStringList all;
        for (int row = 2; row <= 13; ++row)
            all << problem.arg(row);
        QCOMPARE(memo->toPlainText(), all.join(u'\n'));
        // The box names the sheet and shows the first ten.
        QStringList boxed = {u"电子表格 %1 中有12处问题, 没有导入任何题目."_s.arg(bank.path(u"bad.csv"_s))};
        boxed += all.mid(0, 10);
        boxed << u"……"_s;
        QCOMPARE(responder.shown().size(), 1);
        QCOMPARE(responder.lastText(), boxed.join(u'\n'));
        QCOMPARE(responder.shown().last().caption, u"错误信息"_s);
        QCOMPARE(child<QLabel>(*w, "Label3")->text(), u"本次更新失败...."_s);
        QCOMPARE(updatetest::bankBytes(bank), before);
    }

    void cancelledChoiceDoesNothing()
    {
        TestBank bank;
        messages::Responder responder;
        const auto w = open(bank, QString());
        QTest::mouseClick(child<QPushButton>(*w, "Button1"), Qt::LeftButton);
        QVERIFY(responder.shown().isEmpty());
        QVERIFY(!child<QGroupBox>(*w, "GroupBox1")->isVisible());
        QCOMPARE(bank.count(u"ex_page_id"_s), 0);
    }
};

QTEST_MAIN(UpdateSheetWindow)
#include "update_sheetwindow.moc"
