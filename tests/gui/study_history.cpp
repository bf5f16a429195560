// The study-progress panel through the main window: the curve, the history grid with its course
// and chapter, the 3D switch and clearing the records, on stored sessions and on sessions finished
// in the practice window.
#include "practice_gui.h"

#include "db/sql.h"
#include "practice/ui/practicewindow.h"
#include "records/historymodel.h"
#include "records/ui/historyview.h"
#include "records/ui/learningcurve.h"
#include "records/ui/studypanel.h"
#include "shell/apppaths.h"
#include "shell/clock.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "support/testbank.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineSeries>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QValueAxis>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

// Two courses: 会计基础 with a chapter of three choice questions, 财经法规 with one question.
void fillBank(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"C1"_s, u"第一章 总论"_s, u"M1"_s);
    bank.addChapter(u"C2"_s, u"第二章 会计法律制度"_s, u"M2"_s);
    bank.addQuestion(u"C1"_s, u"Q1"_s, 1, u"A"_s, 1);
    bank.addQuestion(u"C1"_s, u"Q2"_s, 2, u"BD"_s, 2);
    bank.addQuestion(u"C1"_s, u"Q3"_s, 3, u"A"_s, 1);
    bank.addQuestion(u"C2"_s, u"Q7"_s, 1, u"B"_s, 1);
}

void addSession(const TestBank &bank, const QString &pageId, const QVariantList &counts, const QString &pId)
{
    bank.insert(u"page_total"_s, QVariantList{pageId} + counts + QVariantList{u"2分0秒"_s, u"章节练习"_s, 1.5});
    bank.insert(u"test_page"_s, {pageId, pId, 0, 0, 0, 0, 0, 0, u""_s, 0, 0, 0, 0, u""_s, 1.0, 1});
}

struct Program
{
    Program()
    {
        fillBank(bank);
        Clock::install(&clock);
        AppPaths::setCurrent(bank.dir());
        window = std::make_unique<MainWindow>(&display);
        window->setOnlineProbe([] { return false; });
        window->show();
        if (!window->firstShow())
            qFatal("main window did not open the bank");
        panel = window->findChild<StudyPanel *>();
        if (!panel)
            qFatal("no study panel");
    }
    ~Program()
    {
        if (PracticeWindow *w = PracticeWindow::current()) {
            responder.queue(messages::Answer::Yes);
            responder.queue(messages::Answer::No);
            w->close();
        }
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Clock::install(nullptr);
    }

    TestBank bank{u"fixture"_s};
    FakeClock clock{QDateTime(QDate(2030, 5, 6), QTime(9, 30, 0))};
    FakeDisplayMode display{QSize(1366, 768)};
    messages::Responder responder;
    std::unique_ptr<MainWindow> window;
    StudyPanel *panel = nullptr;

    QWidget *panel8() const { return window->panel(u"Panel8"_s); }
    void open() const { click(window.get(), u"SpeedButton9"_s); }
    QWidget *front() const { return panel->groups()->currentWidget(); }
    QTableView *grid() const { return child<QTableView>(panel8(), u"DBGrid1"_s); }
    QString cell(int row, int column) const
    {
        return grid()->model()->data(grid()->model()->index(row, column)).toString();
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < HistoryModel::ColumnCount; ++c)
            texts << cell(row, c);
        return texts;
    }
    QList<QPointF> points() const { return panel->curve()->series()->points(); }

    // Chapter practice of every question of a chapter, in order.
    PracticeWindow *practise(int course, const QString &chapterButton) const
    {
        QWidget *panel6 = window->panel(u"Panel6"_s);
        click(window.get(), u"SpeedButton3"_s);
        auto *courses = child<QComboBox>(panel6, u"ComboBox1"_s);
        courses->setCurrentIndex(course);
        Q_EMIT courses->activated(course);
        click(panel6, chapterButton);
        child<QCheckBox>(panel6, u"CheckBox2"_s)->setChecked(false);
        click(panel6, u"sd1"_s);
        PracticeWindow *w = PracticeWindow::current();
        if (!w)
            qFatal("no practice window");
        return w;
    }
    // Finishes after the elapsed clock has ticked for the given seconds.
    void finish(PracticeWindow *w, int seconds)
    {
        for (int k = 0; k < seconds; ++k)
            w->Timer2Timer();
        responder.queue(messages::Answer::Yes);
        click(w, u"finishButton"_s);
        if (PracticeWindow::current())
            qFatal("practice window still open");
    }
};

} // namespace

class StudyHistoryGui : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void panelLayout()
    {
        Program p;
        p.open();
        QCOMPARE(p.window->frontPanel(), p.panel8());
        QCOMPARE(p.front(), child<QGroupBox>(p.panel8(), u"gbCurve"_s));
        auto *column = child<QGroupBox>(p.panel8(), u"gbProgress"_s);
        QCOMPARE(column->title(), u" 学习进度 "_s);
        QCOMPARE(column->width(), 176);
        const QList<std::pair<QString, QString>> buttons = {{u"SpeedButton18"_s, u"学习曲线"_s},
                                                            {u"SpeedButton19"_s, u"历史记录"_s},
                                                            {u"SpeedButton39"_s, u"清除记录"_s},
                                                            {u"adviceButton"_s, u"学习建议"_s}};
        for (const auto &[name, caption] : buttons) {
            auto *b = child<QToolButton>(column, name);
            QCOMPARE(b->text(), caption);
            QCOMPARE(b->size(), QSize(121, 41));
            QVERIFY(b->isVisible());
        }
        QCOMPARE(child<QGroupBox>(p.panel8(), u"gbCurve"_s)->title(), u"曲线"_s);
        QCOMPARE(child<QGroupBox>(p.panel8(), u"gbAdvice"_s)->title(), u"学习建议"_s);
        QCOMPARE(child<QGroupBox>(p.panel8(), u"gbHistory"_s)->title(), u"  历史记录  "_s);
        QVERIFY(child<QTextBrowser>(p.panel8(), u"wbAdvice"_s)->toPlainText().isEmpty());
        QCOMPARE(child<QGroupBox>(p.panel8(), u"gbCourse"_s)->title(), u"  课程及章节信息"_s);

        LearningCurveView *curve = p.panel->curve();
        QCOMPARE(curve->rateAxis()->titleText(), u"正确率%"_s);
        QCOMPARE(curve->countAxis()->titleText(), u"次数"_s);
        QCOMPARE(curve->series()->name(), u"正确率"_s);
        QCOMPARE(curve->series()->pen().color(), QColor(Qt::red));
        QVERIFY(!curve->series()->pointsVisible());
        QVERIFY(!curve->series()->pointLabelsVisible());
        QVERIFY(!curve->chart()->legend()->isVisible());
        QCOMPARE(child<QLabel>(curve, u"Image19"_s)->geometry(), QRect(64, 8, 601, 41));
        QVERIFY(child<QCheckBox>(curve, u"CheckBox3d"_s)->isChecked());
        QCOMPARE(child<QLabel>(curve, u"Label3d"_s)->text(), u"3D显示"_s);
        QVERIFY(p.points().isEmpty());

        // Column titles and widths of the grid.
        QTableView *grid = p.grid();
        const QList<std::pair<QString, int>> columns = {
            {u"成绩日期"_s, 120},  {u"正确题目数"_s, 88}, {u"错误题目数"_s, 82},
            {u"未完成数量"_s, 92}, {u"已完成数量"_s, 80}, {u"耗用时间"_s, 80},
            {u"成绩得分"_s, 60},   {u"正确率"_s, 60},     {u"成绩所属"_s, 78}};
        for (int c = 0; c < columns.size(); ++c) {
            QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), columns.at(c).first);
            QCOMPARE(grid->columnWidth(c), columns.at(c).second);
        }
        QCOMPARE(grid->horizontalHeader()->font().pixelSize(), 13);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void reopenedWithItsPictures()
    {
        Program p;
        for (const QString &name : {u"skin/bg16.bmp"_s, u"skin/bg19.bmp"_s, u"skin/bg19-1.bmp"_s}) {
            QImage picture(48, 48, QImage::Format_RGB32);
            picture.fill(Qt::darkCyan);
            QVERIFY(picture.save(p.bank.path(name), "BMP"));
        }
        p.open();
        p.open();
        // The column's background is replaced, its buttons and layout stay.
        auto *column = child<QGroupBox>(p.panel8(), u"gbProgress"_s);
        QVERIFY(column->layout());
        for (const QString &name : {u"SpeedButton18"_s, u"SpeedButton19"_s, u"SpeedButton39"_s})
            QVERIFY(child<QToolButton>(column, name)->isVisible());
        QVERIFY(!child<QLabel>(p.panel->curve(), u"Image19"_s)->pixmap().isNull());
        QCOMPARE(p.panel->curve()->chart()->plotAreaBackgroundBrush().texture().size(), QSize(48, 48));
    }

    void storedSessionsAndTheirEdgeCases()
    {
        Program p;
        // Oldest to newest: 8 right of 10 with 2 unanswered; nothing judged; no question at all;
        // 2 right and 1 wrong.
        addSession(p.bank, u"20091231235959"_s, {u"8"_s, u"0"_s, u"2"_s, u"8"_s}, u"Q1"_s);
        addSession(p.bank, u"20100101080000"_s, {u"0"_s, u"0"_s, u"4"_s, u"0"_s}, u"Q7"_s);
        addSession(p.bank, u"20100102080000"_s, {u"0"_s, u"0"_s, u"0"_s, u"0"_s}, u"Q7"_s);
        addSession(p.bank, u"20100103080000"_s, {u"2"_s, u"1"_s, u"0"_s, u"3"_s}, u"Q2"_s);
        p.open();

        // x counts from the newest; the session without questions has no point.
        QCOMPARE(p.points(), (QList<QPointF>{{1, 200.0 / 3}, {3, 0}, {4, 80}}));
        QCOMPARE(p.panel->curve()->countAxis()->categoriesLabels(), (QStringList{u"1"_s, u"3"_s, u"4"_s}));

        click(p.panel8(), u"SpeedButton19"_s);
        QCOMPARE(p.front(), child<QGroupBox>(p.panel8(), u"gbHistory"_s));
        QCOMPARE(p.grid()->model()->rowCount(), 4);
        QCOMPARE(p.rowTexts(0), (QStringList{u"10-01-03 08:00"_s, u"2"_s, u"1"_s, u"0"_s, u"3"_s, u"2分0秒"_s, u"1.5"_s,
                                             u"66%"_s, u"章节练习"_s}));
        QCOMPARE(p.cell(1, HistoryModel::Rate), u"未完成"_s);
        QCOMPARE(p.cell(2, HistoryModel::Rate), u"未完成"_s);
        QCOMPARE(p.cell(3, HistoryModel::Date), u"09-12-31 23:59"_s);
        QCOMPARE(p.cell(3, HistoryModel::Rate), u"100%"_s);

        // The newest row is current and names its course; other rows name theirs.
        QCOMPARE(p.grid()->currentIndex().row(), 0);
        HistoryView *history = p.panel->history();
        QCOMPARE(history->courseText(), u"会计基础"_s);
        QCOMPARE(history->chapterText(), u"第一章 总论"_s);
        p.grid()->selectRow(1);
        QCOMPARE(history->courseText(), u"财经法规"_s);
        QCOMPARE(history->chapterText(), u"第二章 会计法律制度"_s);
        QCOMPARE(child<QLabel>(p.panel8(), u"courseName"_s)->font().pixelSize(), 19);
        // A row without an identifier shows no course.
        p.bank.insert(u"page_total"_s, {{}, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"1秒"_s, u"章节练习"_s, 1.0});
        click(p.panel8(), u"SpeedButton18"_s);
        click(p.panel8(), u"SpeedButton19"_s);
        QCOMPARE(p.grid()->model()->rowCount(), 5);
        p.grid()->selectRow(4);
        QCOMPARE(p.cell(4, HistoryModel::Date), QString());
        QCOMPARE(history->courseText(), QString());
        QCOMPARE(history->chapterText(), QString());
    }

    void gridBackgrounds()
    {
        Program p;
        addSession(p.bank, u"20300101080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        addSession(p.bank, u"20300102080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        p.open();
        click(p.panel8(), u"SpeedButton19"_s);
        QTableView *grid = p.grid();
        const QImage image = grid->viewport()->grab().toImage();
        // Row 1 is not selected; sample each cell near its right edge, away from the text.
        const auto back = [&](int column) {
            const QRect r = grid->visualRect(grid->model()->index(1, column));
            return image.pixelColor(r.right() - 3, r.center().y());
        };
        const QColor cream(0xFF, 0xFB, 0xF0);
        for (int c : {HistoryModel::Right, HistoryModel::NotDone, HistoryModel::Time, HistoryModel::Rate})
            QCOMPARE(back(c), cream);
        QCOMPARE(back(HistoryModel::Kind), QColor(Qt::white));
        QCOMPARE(back(HistoryModel::Wrong), grid->palette().color(QPalette::Base));
    }

    void openingTwiceDrawsTheCurveOnce()
    {
        Program p;
        addSession(p.bank, u"20300101080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        addSession(p.bank, u"20300102080000"_s, {u"2"_s, u"0"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        p.open();
        p.open();
        QCOMPARE(p.points(), (QList<QPointF>{{1, 100}, {2, 50}}));
        click(p.panel8(), u"SpeedButton18"_s);
        QCOMPARE(p.points(), (QList<QPointF>{{1, 100}, {2, 50}}));
        QCOMPARE(p.panel->curve()->countAxis()->categoriesLabels(), (QStringList{u"1"_s, u"2"_s}));
        // A session finished while the panel is open shows after the next "学习曲线".
        addSession(p.bank, u"20300103080000"_s, {u"0"_s, u"2"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        QCOMPARE(p.points().size(), 2);
        click(p.panel8(), u"SpeedButton18"_s);
        QCOMPARE(p.points(), (QList<QPointF>{{1, 0}, {2, 100}, {3, 50}}));
    }

    void depthSwitch()
    {
        Program p;
        addSession(p.bank, u"20300101080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        addSession(p.bank, u"20300102080000"_s, {u"2"_s, u"0"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        p.open();
        LearningCurveView *curve = p.panel->curve();
        auto *box = child<QCheckBox>(curve, u"CheckBox3d"_s);
        auto *label = child<QLabel>(curve, u"Label3d"_s);
        QVERIFY(curve->isDepthShown());
        // The ribbon lies behind the line: the same points, and a copy moved up and right.
        QCOMPARE(curve->depthSeries()->lowerSeries()->points(), curve->series()->points());
        const QList<QPointF> back = curve->depthSeries()->upperSeries()->points();
        QCOMPARE(back.size(), 2);
        QVERIFY(back.at(0).x() > 1 && back.at(0).y() > 100);

        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(!curve->isDepthShown());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(box->isChecked());
        QVERIFY(curve->isDepthShown());
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!box->isChecked());
        QVERIFY(!curve->isDepthShown());
        QCOMPARE(p.points().size(), 2);
    }

    void clearRecords_data()
    {
        QTest::addColumn<bool>("withSessions");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("sessionsLeft");
        const QString ask = u"确定需要清除学习记录吗?"_s;
        QTest::newRow("empty history") << false << true << QStringList{u"当前没有学习记录，无需本次操作..."_s} << 0;
        QTest::newRow("no") << true << false << QStringList{ask} << 2;
        QTest::newRow("yes") << true << true << QStringList{ask} << 0;
    }
    void clearRecords()
    {
        QFETCH(bool, withSessions);
        QFETCH(bool, confirm);
        QFETCH(QStringList, texts);
        QFETCH(int, sessionsLeft);
        Program p;
        if (withSessions) {
            addSession(p.bank, u"20300101080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
            addSession(p.bank, u"20300102080000"_s, {u"2"_s, u"0"_s, u"0"_s, u"2"_s}, u"Q7"_s);
        }
        p.bank.insert(u"tmp_id"_s, {u"Q1"_s, 1.0});
        p.open();
        p.responder.queue(confirm ? messages::Answer::Yes : messages::Answer::No);
        click(p.panel8(), u"SpeedButton39"_s);
        QStringList shown;
        for (const auto &m : p.responder.shown()) {
            shown << m.text;
            QCOMPARE(m.caption, u"信息提示"_s);
        }
        QCOMPARE(shown, texts);
        QCOMPARE(p.bank.count(u"page_total"_s), sessionsLeft);
        QCOMPARE(p.bank.count(u"test_page"_s), sessionsLeft);
        QCOMPARE(p.bank.count(u"tmp_id"_s), 1);
        if (withSessions && confirm) {
            QCOMPARE(p.front(), child<QGroupBox>(p.panel8(), u"gbHistory"_s));
            QCOMPARE(p.grid()->model()->rowCount(), 0);
            QVERIFY(p.points().isEmpty());
            QCOMPARE(p.panel->history()->courseText(), QString());
        } else {
            QCOMPARE(p.front(), child<QGroupBox>(p.panel8(), u"gbCurve"_s));
            QCOMPARE(p.points().size(), sessionsLeft);
        }
    }

    void threeFinishedPractices()
    {
        Program p;
        PracticeWindow *w = p.practise(0, u"sC1"_s);
        click(w, u"optionA"_s); // Q1 right
        click(w, u"nextButton"_s);
        click(w, u"optionB"_s); // Q2 wrong
        p.finish(w, 3);

        p.clock.advance(60'000);
        w = p.practise(1, u"sC2"_s);
        click(w, u"optionB"_s); // Q7 right
        p.finish(w, 1);

        p.clock.advance(60'000);
        w = p.practise(0, u"sC1"_s);
        click(w, u"optionA"_s); // Q1 right
        click(w, u"nextButton"_s);
        click(w, u"optionB"_s); // Q2 right
        click(w, u"optionD"_s);
        p.finish(w, 65);

        p.open();
        QCOMPARE(p.window->frontPanel(), p.panel8());
        QCOMPARE(p.points(), (QList<QPointF>{{1, 200.0 / 3}, {2, 100}, {3, 100.0 / 3}}));
        QCOMPARE(p.panel->curve()->countAxis()->categoriesLabels(), (QStringList{u"1"_s, u"2"_s, u"3"_s}));

        click(p.panel8(), u"SpeedButton19"_s);
        QCOMPARE(p.grid()->model()->rowCount(), 3);
        const QList<QStringList> rows = {
            {u"30-05-06 09:32"_s, u"2"_s, u"1"_s, u"1"_s, u"2"_s, u"1分5秒"_s, u"3"_s, u"66%"_s, u"章节练习"_s},
            {u"30-05-06 09:31"_s, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"1秒"_s, u"1"_s, u"100%"_s, u"章节练习"_s},
            {u"30-05-06 09:30"_s, u"1"_s, u"2"_s, u"1"_s, u"2"_s, u"3秒"_s, u"1"_s, u"33%"_s, u"章节练习"_s}};
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE(p.rowTexts(r), rows.at(r));
        QCOMPARE(p.panel->history()->courseText(), u"会计基础"_s);
        QCOMPARE(p.panel->history()->chapterText(), u"第一章 总论"_s);
        p.grid()->selectRow(1);
        QCOMPARE(p.panel->history()->courseText(), u"财经法规"_s);
        QCOMPARE(p.panel->history()->chapterText(), u"第二章 会计法律制度"_s);

        // Cleared with both answers of the confirmation.
        p.responder.queue(messages::Answer::No);
        click(p.panel8(), u"SpeedButton39"_s);
        QCOMPARE(p.bank.count(u"page_total"_s), 3);
        p.responder.queue(messages::Answer::Yes);
        click(p.panel8(), u"SpeedButton39"_s);
        QCOMPARE(p.bank.count(u"page_total"_s), 0);
        QCOMPARE(p.bank.count(u"test_page"_s), 0);
        QCOMPARE(p.grid()->model()->rowCount(), 0);
        QVERIFY(p.points().isEmpty());
    }

    void clearingClosesTheOpenPracticeWindowFirst()
    {
        Program p;
        addSession(p.bank, u"20300101080000"_s, {u"1"_s, u"1"_s, u"0"_s, u"2"_s}, u"Q1"_s);
        PracticeWindow *w = p.practise(0, u"sC1"_s);
        click(w, u"optionA"_s);
        p.open();

        // The learner keeps the window open: nothing is deleted.
        p.responder.clear();
        p.responder.queue(messages::Answer::Yes); // clear the records
        p.responder.queue(messages::Answer::No);  // leave the practice
        click(p.panel8(), u"SpeedButton39"_s);
        QCOMPARE(p.responder.shown().size(), 2);
        QCOMPARE(p.responder.shown().at(1).text, u"确定退出,并进行提交汇总成绩吗?"_s);
        QCOMPARE(PracticeWindow::current(), w);
        QCOMPARE(p.bank.count(u"page_total"_s), 1);
        QCOMPARE(p.bank.count(u"test_page"_s), 4);

        // The window closes, storing its totals, and then everything is cleared.
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::Yes);
        p.responder.queue(messages::Answer::Yes);
        click(p.panel8(), u"SpeedButton39"_s);
        QVERIFY(!PracticeWindow::current());
        QCOMPARE(p.bank.count(u"page_total"_s), 0);
        QCOMPARE(p.bank.count(u"test_page"_s), 0);
        QCOMPARE(p.window->frontPanel(), p.panel8());
        QCOMPARE(p.front(), child<QGroupBox>(p.panel8(), u"gbHistory"_s));
    }
};

QTEST_MAIN(StudyHistoryGui)
#include "study_history.moc"
