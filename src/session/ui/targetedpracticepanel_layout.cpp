// The widgets of targeted practice; its behaviour is in targetedpracticepanel.cpp.
#include "session/ui/targetedpracticepanel.h"

#include "practice/ui/skinbackground.h"
#include "session/ui/chapterpracticepanel.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/skin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// A period label: a click selects its radio button.
class PeriodLabel final : public QLabel
{
public:
    PeriodLabel(const QString &text, QRadioButton *radio, QWidget *parent)
        : QLabel(text, parent)
        , m_radio(radio)
    {
        setCursor(Qt::PointingHandCursor);
        setBuddy(radio);
        radio->setAccessibleName(text);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_radio->setChecked(true);
    }

private:
    QRadioButton *m_radio;
};

QSpinBox *spinBox(const QString &name, int min, int max, int value, const QString &accessible, QWidget *parent)
{
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setValue(value);
    s->setMinimumWidth(64);
    s->setAccessibleName(accessible);
    return s;
}

// The search and period boxes float over the settings box.
void floatOver(QGroupBox *box)
{
    box->setAutoFillBackground(true);
    auto *shadow = new QGraphicsDropShadowEffect(box);
    shadow->setBlurRadius(18);
    shadow->setOffset(3, 4);
    shadow->setColor(QColor(0x1e, 0x4f, 0x9c, 110));
    box->setGraphicsEffect(shadow);
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = named(new QPushButton(text, parent), name);
    b->setMinimumSize(80, 28);
    return b;
}

} // namespace

TargetedPracticePanel::TargetedPracticePanel(MainWindow *main, ChapterPracticePanel *chapterPanel, QWidget *courseBox,
                                             QComboBox *courses)
    : QWidget(chapterPanel->boxes())
    , m_main(main)
    , m_chapterPanel(chapterPanel)
    , m_courses(courses)
{
    setObjectName(u"targetedPage"_s);
    courseBox->layout()->addWidget(buildModeButtons(courseBox));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSettingsBox());
    // The search and period boxes lie over the settings box, placed by resizeEvent().
    buildSearchBox();
    buildPeriodBox();
    chapterPanel->boxes()->addWidget(this);
    setModeTexts(session::TargetedMode::Essence);
}

void TargetedPracticePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (QWidget *box : {static_cast<QWidget *>(m_searchBox), static_cast<QWidget *>(m_periodBox)})
        box->move(qMax(0, (width() - box->width()) / 2), 110);
}

QWidget *TargetedPracticePanel::buildModeButtons(QWidget *courseBox)
{
    auto *row = new QWidget(courseBox);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    const struct
    {
        const char16_t *text, *name, *hint;
        void (TargetedPracticePanel::*click)();
    } modes[] = {
        {u"精华试题", u"SpeedButton21", u"学员对已做练习题中标记精华类题目再次进行练习",
         &TargetedPracticePanel::SpeedButton21Click},
        {u"搜索试题", u"SpeedButton22", u"学员对已做练习题或模拟考试的题目进行搜索练习",
         &TargetedPracticePanel::SpeedButton22Click},
        {u"错题复习", u"SpeedButton23", u"学员对已做练习题中错误类题目再次进行练习",
         &TargetedPracticePanel::SpeedButton23Click},
    };
    for (const auto &m : modes) {
        QPushButton *b = button(QString::fromUtf16(m.text), QString::fromUtf16(m.name), row);
        b->setToolTip(QString::fromUtf16(m.hint));
        connect(b, &QPushButton::clicked, this, m.click);
        layout->addWidget(b);
    }
    return row;
}

QGroupBox *TargetedPracticePanel::buildSettingsBox()
{
    m_settings = named(new QGroupBox(this), u"GroupBox12"_s);
    skin::setBackground(m_settings, skin::picture(u"skin/bg11.bmp"_s));
    auto *grid = new QGridLayout(m_settings);
    grid->setColumnStretch(3, 1);
    grid->setVerticalSpacing(10);
    // Wide enough for the longest fourth-type name, whichever mode set the texts first.
    grid->setColumnMinimumWidth(0, QFontMetrics(m_settings->font()).horizontalAdvance(u"计算分析题: "_s) + 8);

    m_heading = named(new QLabel(m_settings), u"Label53"_s);
    QFont big = m_heading->font();
    big.setPointSize(14);
    big.setBold(true);
    m_heading->setFont(big);
    m_heading->setStyleSheet(u"color:#1e4f9c"_s);
    grid->addWidget(m_heading, 0, 0, 1, 4);
    m_title = named(new QLabel(m_settings), u"Label46"_s);
    m_title->setStyleSheet(u"font-weight:bold"_s);
    m_description = named(new QLabel(m_settings), u"Label47"_s);
    m_description->setWordWrap(true);
    grid->addWidget(m_title, 1, 0);
    grid->addWidget(m_description, 1, 1, 1, 3);

    grid->addWidget(new QLabel(u"找到题目:"_s, m_settings), 2, 0);
    m_found = named(new QLabel(u"0"_s, m_settings), u"Label57"_s);
    m_found->setStyleSheet(u"color:#c00000;font-weight:bold"_s);
    grid->addWidget(m_found, 2, 1);

    const QStringList typeNames = {u"单选题:"_s, u"多选题:"_s, u"判断题:"_s};
    const QStringList lineNames = {u"Label88"_s, u"Label87"_s, u"Label86"_s};
    for (int k = 0; k < 3; ++k) {
        grid->addWidget(new QLabel(typeNames.at(k), m_settings), 3 + k, 0);
        m_lines[k] = named(new QLabel(m_settings), lineNames.at(k));
        grid->addWidget(m_lines[k], 3 + k, 1, 1, 3);
    }
    m_fourthName = named(new QLabel(m_settings), u"Label82"_s);
    m_fourthLine = named(new QLabel(m_settings), u"Label79"_s);
    grid->addWidget(m_fourthName, 6, 0);
    grid->addWidget(m_fourthLine, 6, 1, 1, 3);

    auto *amount = new QHBoxLayout;
    auto *howManyLabel = new QLabel(u"练习题数:"_s, m_settings);
    m_howMany = spinBox(u"Edit4"_s, 0, 0, 0, u"练习题数"_s, m_settings);
    howManyLabel->setBuddy(m_howMany);
    m_startFrom = spinBox(u"Edit5"_s, 0, 0, 0, u"从第几题开始"_s, m_settings);
    amount->addWidget(howManyLabel);
    amount->addWidget(m_howMany);
    amount->addSpacing(24);
    amount->addWidget(new QLabel(u"从第"_s, m_settings));
    amount->addWidget(m_startFrom);
    amount->addWidget(new QLabel(u"题开始"_s, m_settings));
    amount->addStretch();
    grid->addLayout(amount, 7, 0, 1, 4);

    auto *speed = new QHBoxLayout;
    m_autoAdvance = named(new QCheckBox(u"速度控制, 每题"_s, m_settings), u"CheckBox4"_s);
    m_seconds = spinBox(u"Edit6"_s, 0, 100, 0, u"每题秒数"_s, m_settings);
    m_seconds->setEnabled(false);
    connect(m_autoAdvance, &QCheckBox::toggled, this, &TargetedPracticePanel::autoAdvanceToggled);
    speed->addWidget(m_autoAdvance);
    speed->addWidget(m_seconds);
    speed->addWidget(new QLabel(u"秒后,强制切换"_s, m_settings));
    speed->addStretch();
    grid->addLayout(speed, 8, 0, 1, 4);

    auto *font = new QHBoxLayout;
    auto *fontLabel = new QLabel(u"字体大小:"_s, m_settings);
    m_fontSize = spinBox(u"Edit7"_s, 10, 16, 12, u"字体大小"_s, m_settings);
    fontLabel->setBuddy(m_fontSize);
    m_preview = named(new QLabel(u"字体大小预览"_s, m_settings), u"Label92"_s);
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this](int size) {
        QFont f = m_preview->font();
        f.setPointSize(size);
        m_preview->setFont(f);
    });
    font->addWidget(fontLabel);
    font->addWidget(m_fontSize);
    font->addWidget(m_preview);
    font->addStretch();
    grid->addLayout(font, 9, 0, 1, 4);
    grid->setRowStretch(10, 1);

    m_start = button(u"开始练习"_s, u"SpeedButton24"_s, m_settings);
    m_start->setMinimumSize(120, 36);
    connect(m_start, &QPushButton::clicked, this, &TargetedPracticePanel::SpeedButton24Click);
    grid->addWidget(m_start, 11, 3, Qt::AlignRight);
    return m_settings;
}

QGroupBox *TargetedPracticePanel::buildSearchBox()
{
    m_searchBox = named(new QGroupBox(u"搜索试题"_s, this), u"gb19"_s);
    m_searchBox->setFixedSize(440, 170);
    floatOver(m_searchBox);
    skin::setBackground(m_searchBox, skin::picture(u"skin/bg18.bmp"_s));
    auto *layout = new QVBoxLayout(m_searchBox);
    auto *prompt = new QLabel(u"请输入搜索内容:"_s, m_searchBox);
    m_searchText = named(new QLineEdit(m_searchBox), u"Edit12"_s);
    m_searchText->setAccessibleName(u"搜索内容"_s);
    prompt->setBuddy(m_searchText);
    connect(m_searchText, &QLineEdit::returnPressed, this, &TargetedPracticePanel::SpeedButton31Click);
    layout->addWidget(prompt);
    layout->addWidget(m_searchText);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = button(u"确定"_s, u"SpeedButton31"_s, m_searchBox);
    QPushButton *cancel = button(u"取消"_s, u"SpeedButton40"_s, m_searchBox);
    connect(ok, &QPushButton::clicked, this, &TargetedPracticePanel::SpeedButton31Click);
    connect(cancel, &QPushButton::clicked, this, &TargetedPracticePanel::SpeedButton40Click);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    m_searchBox->hide();
    return m_searchBox;
}

QGroupBox *TargetedPracticePanel::buildPeriodBox()
{
    m_periodBox = named(new QGroupBox(u"错题选项"_s, this), u"gb89"_s);
    m_periodBox->setFixedSize(460, 250);
    floatOver(m_periodBox);
    skin::setBackground(m_periodBox, skin::picture(u"skin/bg15.bmp"_s));
    auto *grid = new QGridLayout(m_periodBox);
    grid->setColumnStretch(2, 1);
    grid->addWidget(new QLabel(u"今天是:"_s, m_periodBox), 0, 0, 1, 2);
    m_periodLabels[0] = named(new QLabel(m_periodBox), u"Label160"_s);
    grid->addWidget(m_periodLabels[0], 0, 2);
    const struct
    {
        const char16_t *radio, *label, *text, *range;
    } periods[] = {
        {u"RadioButton1", u"Label169", u"当天错误的题目", nullptr},
        {u"RadioButton2", u"Label168", u"最近一周的错误题目", u"Label161"},
        {u"RadioButton3", u"Label167", u"最近一个月的错误题目", u"Label162"},
        {u"RadioButton4", u"Label69", u"所有错误题目", nullptr},
    };
    for (int k = 0; k < 4; ++k) {
        m_periods[k] = named(new QRadioButton(m_periodBox), QString::fromUtf16(periods[k].radio));
        auto *label = named(new PeriodLabel(QString::fromUtf16(periods[k].text), m_periods[k], m_periodBox),
                            QString::fromUtf16(periods[k].label));
        grid->addWidget(m_periods[k], 1 + k, 0);
        grid->addWidget(label, 1 + k, 1);
        if (periods[k].range) {
            m_periodLabels[k] = named(new QLabel(m_periodBox), QString::fromUtf16(periods[k].range));
            m_periodLabels[k]->setStyleSheet(u"color:#555555"_s);
            grid->addWidget(m_periodLabels[k], 1 + k, 2);
        }
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = button(u"确定"_s, u"SpeedButton52"_s, m_periodBox);
    QPushButton *cancel = button(u"取消"_s, u"SpeedButton53"_s, m_periodBox);
    connect(ok, &QPushButton::clicked, this, &TargetedPracticePanel::SpeedButton52Click);
    connect(cancel, &QPushButton::clicked, this, &TargetedPracticePanel::SpeedButton53Click);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 5, 0, 1, 3);
    m_periodBox->hide();
    return m_periodBox;
}
