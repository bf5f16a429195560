// Every visible control a learner can act on, in every window and panel of the program, has an
// accessible name of its own: not empty, and not just the title of the group box around it (which
// is what a screen reader falls back to). A new window is covered by adding one scene below.
#include "../unit/exam_fixture.h"
#include "../unit/practice_fixture.h"
#include "practice_gui.h"

#include "exam/handin.h"
#include "exam/ui/examwindow.h"
#include "practice/ui/accountpicker.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicewindow.h"
#include "records/ui/examresultpanel.h"
#include "records/ui/practiceresultpanel.h"
#include "session/papersession.h"
#include "shell/apppaths.h"
#include "shell/ui/displaymode.h"
#include "shell/ui/keyhelpoverlay.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/sessionkeys.h"
#include "update/ui/updatewindow.h"
#include "windows/ui/infopopup.h"
#include "windows/ui/instructionswindow.h"
#include "windows/ui/loginsettingswindow.h"
#include "windows/ui/loginwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPointer>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace practicegui;

namespace {

bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::PageTabList:
    case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

// Item views and combo boxes are checked themselves; their rows are data, not controls.
bool hasItems(QAccessible::Role role)
{
    return role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table ||
           role == QAccessible::ComboBox;
}

QString groupTitle(const QWidget *w)
{
    for (const QWidget *p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (const auto *box = qobject_cast<const QGroupBox *>(p); box && !box->title().trimmed().isEmpty())
            return box->title().trimmed();
    }
    return {};
}

QString pathOf(const QObject *o)
{
    QStringList names;
    for (; o; o = o->parent())
        names.prepend(o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName());
    return names.join(u'/');
}

// Asks the accessibility interface of every visible widget of one window in one state.
struct Walk
{
    QStringList faults;
    int checked = 0;

    void operator()(QWidget *window, const QString &state)
    {
        QApplication::processEvents();
        visit(window, state);
    }

private:
    void visit(QWidget *w, const QString &state)
    {
        // A web page's own controls are named by the page; the browser engine answers for them.
        if (!w->isVisible() || w->inherits("QWebEngineView"))
            return;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (iface && !iface->state().invisible && interactive(iface->role())) {
            ++checked;
            const QString name = iface->text(QAccessible::Name).trimmed();
            const QString path = pathOf(w);
            QString fault;
            if (name.isEmpty())
                fault = path + u" has no name"_s;
            else if (name == groupTitle(w))
                fault = path + u" is named like its group box: "_s + name;
            // A control seen again in a later state is reported once, with the first state.
            if (!fault.isEmpty() && !m_reported.contains(fault)) {
                m_reported.insert(fault);
                faults << state + u": "_s + fault;
            }
            if (hasItems(iface->role()))
                return;
        }
        for (QObject *c : w->children()) {
            auto *cw = qobject_cast<QWidget *>(c);
            if (cw && !cw->isWindow())
                visit(cw, state);
        }
    }

    QSet<QString> m_reported;
};

QWidget *panel(MainWindow &main, const QString &navButton)
{
    child<QToolButton>(&main, navButton)->click();
    return main.frontPanel();
}

void mainWindowAndPanels(Walk &walk)
{
    practicetest::Fixture f(u"quillmark"_s, false);
    f.bank.addChapter(u"T1"_s, u"会计基础模拟试卷"_s, u"M1"_s, u"2"_s);
    f.bank.addQuestion(u"T1"_s, u"S1"_s, 1, u"A"_s);
    messages::Responder responder;
    FakeDisplayMode display{QSize(1366, 768)};
    AppPaths::setCurrent(f.bank.dir());
    MainWindow main(&display);
    main.setOnlineProbe([] { return false; });
    main.show();
    if (!main.firstShow())
        qFatal("main window did not start");
    walk(&main, u"home"_s);

    QWidget *chapters = panel(main, u"SpeedButton3"_s);
    walk(&main, u"chapter practice"_s);
    click(chapters, u"sC1"_s);
    click(chapters, u"CheckBox9"_s); // every count box enabled
    walk(&main, u"chapter chosen"_s);
    for (const QString &mode : {u"SpeedButton21"_s, u"SpeedButton22"_s, u"SpeedButton23"_s}) {
        click(chapters, mode);
        walk(&main, mode);
    }
    practice::PracticeResult practiceResult;
    practiceResult.course = u"会计基础"_s;
    main.findChild<PracticeResultPanel *>()->showResult(practiceResult);
    walk(&main, u"practice result"_s);

    QWidget *exams = panel(main, u"SpeedButton4"_s);
    walk(&main, u"mock exam"_s);
    click(exams, u"tT1"_s);
    walk(&main, u"paper chosen"_s);
    exam::ExamResult examResult;
    examResult.course = u"会计基础"_s;
    main.findChild<ExamResultPanel *>()->showResult(examResult);
    walk(&main, u"exam result"_s);

    for (const QString &nav :
         {u"SpeedButton2"_s, u"SpeedButton6"_s, u"SpeedButton5"_s, u"SpeedButton9"_s, u"SpeedButton7"_s}) {
        panel(main, nav);
        walk(&main, nav);
    }
    child<QToolButton>(&main, u"SpeedButton1"_s)->click(); // login settings
    auto *settings = main.findChild<LoginSettingsWindow *>();
    QVERIFY(settings);
    walk(settings, u"login settings"_s);
}

practice::PracticeInputs practiceInputs(const QString &pageId)
{
    practice::PracticeInputs in;
    in.sessionKind = u"章节练习"_s;
    in.questionTotal = 7;
    in.fourthTypeName = u"计算分析题:"_s;
    in.pageId = pageId;
    in.showAnswerEnabled = true;
    return in;
}

void practiceWindow(Walk &walk)
{
    practicetest::Fixture f;
    messages::Responder responder;
    responder.queue(messages::Answer::Yes);
    responder.queue(messages::Answer::No);
    PracticeWindow w(false);
    w.setInputs(practiceInputs(f.pageId));
    w.resize(1200, 900);
    w.show();
    click(&w, u"showAnswerButton"_s);
    walk(&w, u"answer shown"_s);
    click(&w, u"showAnswerButton"_s);
    const auto &rows = w.session().rows();
    for (int k = 0; k < rows.size(); ++k) {
        walk(&w, u"question "_s + rows.at(k).pId + u'-' + rows.at(k).subNumber);
        if (rows.at(k).typeCode() == 4) {
            auto *editor = child<EntryEditor>(&w, u"entryEditor"_s);
            click(editor, u"pick1_1"_s);
            walk(&w, u"account picker"_s);
            editor->accountPicker()->cancel();
        }
        click(&w, u"nextButton"_s);
    }
    click(&w, u"pickButton"_s);
    walk(&w, u"question picker"_s);
    click(&w, u"pickerBack"_s);
    w.keys()->toggleHelp();
    walk(&w, u"key help"_s);
}

void examWindow(Walk &walk)
{
    TestBank bank{u"exam-names"_s};
    examfixture::smallBank(bank);
    messages::Responder responder;
    FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
    const paper::Built built = paper::buildFixed(bank.db(), clock, u"T1"_s);
    ExamInputs in;
    in.pageId = built.pageId;
    in.sessionKind = u"模拟考试"_s;
    in.questionTotal = built.questionTotal;
    in.examSeconds = 5400;
    in.fontSize = 12;
    AppPaths::setCurrent(bank.dir());
    ExamWindow w(bank.db(), in);
    QVERIFY(w.open());
    w.resize(1200, 900);
    w.show();
    child<QPushButton>(&w, u"answerButton"_s)->click();
    for (int k = 0; k < built.questionTotal; ++k) {
        walk(&w, u"question %1"_s.arg(k + 1));
        child<QToolButton>(&w, u"nextButton"_s)->click();
    }
    w.startCountdown();
    w.countdownTick();
    w.keys()->toggleHelp();
    walk(&w, u"key help"_s);
}

void instructionsWindow(Walk &walk)
{
    TestBank bank{u"instructions"_s};
    AppPaths::setCurrent(bank.dir());
    InstructionsWindow w;
    paper::Brief brief;
    brief.fourthType = 4;
    brief.fourthName = u"计算分析题"_s;
    w.setBrief(u"90"_s, u"会计基础"_s, brief);
    w.show();
    w.firstStep();
    w.finishWait();
    walk(&w, u"second slide"_s);
    child<QToolButton>(&w, u"SpeedButton2"_s)->click();
    walk(&w, u"third slide"_s);
    child<QToolButton>(&w, u"SpeedButton3"_s)->click();
    w.finishWait();
    walk(&w, u"information page"_s);
    w.dismiss();
}

void loginWindow(Walk &walk)
{
    TestBank bank{u"login"_s};
    AppPaths::setCurrent(bank.dir());
    LoginWindow w;
    w.show();
    walk(&w, u"login"_s);
}

void updaterWindow(Walk &walk)
{
    TestBank bank{u"updater"_s};
    messages::Responder responder;
    AppPaths::setCurrent(bank.dir());
    UpdateWindow w(u"http://127.0.0.1:9/"_s, u"2009-05-01"_s);
    w.show();
    walk(&w, u"updater"_s);
}

void infoPopup(Walk &walk)
{
    InfoPopup popup;
    popup.setNotice(u"新版题库已发布"_s, u"http://example.com/"_s);
    popup.show();
    walk(&popup, u"notice"_s);
}

// A real message box: it is announced by its caption and its text.
void messageBox(Walk &walk)
{
    QString name;
    QString description;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        walk(box, u"message box"_s);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
        name = iface->text(QAccessible::Name);
        description = iface->text(QAccessible::Description);
        box->accept();
    });
    messages::inform(nullptr, u"当前章节记录为零...."_s, u"信息提醒"_s);
    QCOMPARE(name, u"信息提醒"_s);
    QCOMPARE(description, u"当前章节记录为零...."_s);
}

struct Scene
{
    const char *name;
    void (*open)(Walk &);
};

// Every window of both programs; a new window adds its line here.
const Scene kScenes[] = {
    {"main window and its panels", mainWindowAndPanels},
    {"practice window", practiceWindow},
    {"exam window", examWindow},
    {"instructions window", instructionsWindow},
    {"login window", loginWindow},
    {"updater window", updaterWindow},
    {"publisher's notice", infoPopup},
    {"message box", messageBox},
};

} // namespace

class AccessibleNamesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyControlIsNamed_data()
    {
        QTest::addColumn<int>("scene");
        for (int k = 0; k < int(std::size(kScenes)); ++k)
            QTest::newRow(kScenes[k].name) << k;
    }

    void everyControlIsNamed()
    {
        QFETCH(int, scene);
        Walk walk;
        kScenes[scene].open(walk);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(walk.checked > 0);
        for (const QString &fault : std::as_const(walk.faults))
            qWarning("%s", qPrintable(fault));
        QVERIFY2(walk.faults.isEmpty(), "controls without a name of their own (listed above)");
    }

    // The check itself: a spin box in a group box without a label of its own is read out by the
    // group's title, a button without text by nothing; both are caught, a labelled box is not.
    void theCheckFindsUnnamedControls()
    {
        QWidget window;
        auto *box = new QGroupBox(u"练习设置"_s, &window);
        auto *layout = new QVBoxLayout(box);
        auto *spin = new QSpinBox(box);
        auto *named = new QCheckBox(u"随机排列题目和选项顺序"_s, box);
        layout->addWidget(spin);
        layout->addWidget(named);
        auto *bare = new QToolButton(&window);
        bare->move(0, 200);
        spin->setObjectName(u"spin"_s);
        bare->setObjectName(u"bare"_s);
        window.show();
        Walk walk;
        walk(&window, u"sample"_s);
        QCOMPARE(walk.checked, 3);
        QCOMPARE(walk.faults.size(), 2);
        QVERIFY(walk.faults.at(0).contains(u"spin is named like its group box: 练习设置"_s));
        QVERIFY(walk.faults.at(1).contains(u"bare has no name"_s));
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "accessible_names.moc"
