// The widgets of the chapter-practice panel; its behaviour is in chapterpracticepanel.cpp.
#include "session/ui/chapterpracticepanel.h"

#include "practice/ui/skinbackground.h"
#include "records/ui/practiceresultpanel.h"
#include "session/ui/targetedpracticepanel.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/skin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A label that acts on a click (Label165 toggles "全部习题").
class ClickLabel final : public QLabel
{
public:
    ClickLabel(const QString &text, std::function<void()> onClick, QWidget *parent)
        : QLabel(text, parent)
        , m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QSpinBox *spinBox(const QString &name, int min, int max, int value, QWidget *parent)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setValue(value);
    s->setMinimumWidth(64);
    return s;
}

} // namespace

ChapterPracticePanel::ChapterPracticePanel(MainWindow *main, QWidget *panel6)
    : QWidget(panel6)
    , m_main(main)
{
    setObjectName(u"chapterPractice"_s);
    auto *outer = new QHBoxLayout(panel6);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(buildCourseColumn());
    m_boxes = named(new QStackedWidget(this), u"infoBoxes"_s);
    m_info = buildInfoPage();
    m_boxes->addWidget(m_info);
    m_result = new PracticeResultPanel(m_boxes);
    m_boxes->addWidget(m_result);
    connect(m_result, &PracticeResultPanel::resultShown, this, [this] { m_boxes->setCurrentWidget(m_result); });
    layout->addWidget(m_boxes, 1);
    new TargetedPracticePanel(main, this, m_courseBox, m_courses);

    connect(main, &MainWindow::chapterPracticeRequested, this, &ChapterPracticePanel::open);
}

QWidget *ChapterPracticePanel::buildCourseColumn()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(292);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    m_courseBox = named(new QGroupBox(u"课程选择"_s, column), u"courseBox"_s);
    skin::setBackground(m_courseBox, skin::picture(u"skin/bg16.bmp"_s));
    auto *courseLayout = new QVBoxLayout(m_courseBox);
    m_courses = named(new QComboBox(m_courseBox), u"ComboBox1"_s);
    connect(m_courses, &QComboBox::activated, this, &ChapterPracticePanel::courseChosen);
    courseLayout->addWidget(m_courses);
    layout->addWidget(m_courseBox);

    m_chapterBox = named(new QGroupBox(u"章节列表"_s, column), u"gb3"_s);
    auto *chapterLayout = new QVBoxLayout(m_chapterBox);
    chapterLayout->setContentsMargins(4, 4, 4, 4);
    m_chapterScroll = named(new QScrollArea(m_chapterBox), u"ScrollBox1"_s);
    m_chapterScroll->setFrameShape(QFrame::NoFrame);
    m_chapterButtons = new QWidget;
    m_chapterButtons->setObjectName(u"chapterButtons"_s);
    m_chapterScroll->setWidget(m_chapterButtons);
    chapterLayout->addWidget(m_chapterScroll);
    m_chapterBox->hide();
    layout->addWidget(m_chapterBox, 1);
    return column;
}

QWidget *ChapterPracticePanel::buildInfoPage()
{
    auto *page = named(new QWidget(m_boxes), u"infoPage"_s);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildCountsBox());
    layout->addWidget(buildSettingsBox(), 1);
    return page;
}

QGroupBox *ChapterPracticePanel::informationBox(const QString &title, const QString &name)
{
    auto *box = named(new QGroupBox(title, m_boxes), name);
    skin::setBackground(box, skin::picture(u"skin/bg11.bmp"_s));
    return box;
}

QGroupBox *ChapterPracticePanel::buildCountsBox()
{
    QGroupBox *box = informationBox(u"题库信息"_s, u"bankInfoBox"_s);
    auto *grid = new QGridLayout(box);
    grid->setColumnStretch(2, 1);
    grid->addWidget(new QLabel(u"当前章节:"_s, box), 0, 0);
    m_chapterName = named(new QLabel(box), u"Label15"_s);
    grid->addWidget(m_chapterName, 0, 1, 1, 2);
    grid->addWidget(new QLabel(u"本章题量:"_s, box), 1, 0);
    m_total = named(new QLabel(u"0"_s, box), u"Label12"_s);
    grid->addWidget(m_total, 1, 1);
    const QStringList names = {u"单选题:"_s, u"多选题:"_s, u"判断题:"_s};
    const QStringList countNames = {u"Label98"_s, u"Label145"_s, u"Label146"_s};
    const QStringList textNames = {u"Label95"_s, u"Label96"_s, u"Label97"_s};
    for (int k = 0; k < 3; ++k) {
        grid->addWidget(new QLabel(names.at(k), box), 2 + k, 0);
        m_typeCounts[k] = named(new QLabel(u"0"_s, box), countNames.at(k));
        m_typeTexts[k] = named(new QLabel(u"题"_s, box), textNames.at(k));
        grid->addWidget(m_typeCounts[k], 2 + k, 1);
        grid->addWidget(m_typeTexts[k], 2 + k, 2);
    }
    m_fourthLine = named(new QLabel(box), u"Label76"_s);
    grid->addWidget(m_fourthLine, 5, 0, 1, 3);
    return box;
}

QGroupBox *ChapterPracticePanel::buildSettingsBox()
{
    QGroupBox *box = informationBox(u"练习设置"_s, u"settingsBox"_s);
    auto *grid = new QGridLayout(box);
    grid->setColumnStretch(3, 1);

    m_all = named(new QCheckBox(box), u"CheckBox9"_s);
    m_all->setChecked(true);
    grid->addWidget(m_all, 0, 0);
    grid->addWidget(named(new ClickLabel(
                              u"全部习题"_s, [this] { m_all->click(); }, box),
                          u"Label165"_s),
                    0, 1);

    const QStringList boxNames = {u"CheckBox5"_s, u"CheckBox6"_s, u"CheckBox7"_s, u"CheckBox10"_s};
    const QStringList countNames = {u"Edit1"_s, u"Edit2"_s, u"Edit9"_s, u"Edit13"_s};
    const QStringList captions = {u"单选题:"_s, u"多选题:"_s, u"判断题:"_s, QString()};
    for (int k = 0; k < 4; ++k) {
        m_include[k] = named(new QCheckBox(captions.at(k), box), boxNames.at(k));
        // The fourth type's box starts unchecked; a count of that type checks it.
        m_include[k]->setChecked(k < 3);
        m_counts[k] = spinBox(countNames.at(k), 0, 0, 0, box);
        grid->addWidget(m_include[k], 1 + k, 1);
        grid->addWidget(m_counts[k], 1 + k, 2);
        connect(m_include[k], &QCheckBox::toggled, this, [this, k](bool checked) {
            if (!checked && !m_quiet)
                m_counts[k]->setValue(0);
        });
        connect(m_counts[k], &QSpinBox::valueChanged, this, [this, k](int v) { countChanged(k, v); });
    }
    m_fourthShort = named(new QLabel(u"不明题:"_s, box), u"Label174"_s);
    grid->addWidget(m_fourthShort, 4, 0);
    connect(m_all, &QCheckBox::toggled, this, &ChapterPracticePanel::allToggled);
    setCountsEnabled(false);

    auto *speed = new QHBoxLayout;
    m_autoAdvance = named(new QCheckBox(u"速度控制, 每题"_s, box), u"CheckBox1"_s);
    m_autoAdvance->setChecked(true);
    m_seconds = spinBox(u"Edit3"_s, 0, 100, 0, box);
    speed->addWidget(m_autoAdvance);
    speed->addWidget(m_seconds);
    speed->addWidget(new QLabel(u"秒后,强制切换"_s, box));
    speed->addStretch();
    grid->addLayout(speed, 5, 0, 1, 4);

    m_random = named(new QCheckBox(u"随机排列题目和选项顺序"_s, box), u"CheckBox2"_s);
    m_random->setChecked(true);
    grid->addWidget(m_random, 6, 0, 1, 4);

    auto *font = new QHBoxLayout;
    m_fontSize = spinBox(u"Edit8"_s, 9, 16, 12, box);
    m_preview = named(new QLabel(u"字体大小预览"_s, box), u"Label94"_s);
    const auto preview = [this](int size) {
        QFont f = m_preview->font();
        f.setPointSize(size);
        m_preview->setFont(f);
    };
    preview(m_fontSize->value());
    connect(m_fontSize, &QSpinBox::valueChanged, this, preview);
    font->addWidget(new QLabel(u"字体大小:"_s, box));
    font->addWidget(m_fontSize);
    font->addWidget(m_preview);
    font->addStretch();
    grid->addLayout(font, 7, 0, 1, 4);
    grid->setRowStretch(8, 1);

    m_start = named(new QPushButton(u"开始练习"_s, box), u"sd1"_s);
    m_start->setMinimumSize(120, 36);
    m_start->setEnabled(false);
    connect(m_start, &QPushButton::clicked, this, &ChapterPracticePanel::sd1Click);
    grid->addWidget(m_start, 9, 3, Qt::AlignRight);
    return box;
}
