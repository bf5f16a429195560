#include "records/ui/practiceresultpanel.h"

#include "practice/ui/skinbackground.h"
#include "shell/ui/skin.h"
#include "text/markstext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PracticeResultPanel::PracticeResultPanel(QWidget *parent)
    : QGroupBox(u" 练习成绩"_s, parent)
{
    setObjectName(u"practiceResult"_s);
    skin::setBackground(this, skin::picture(u"skin/bg11.bmp"_s));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 20);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    QFont font = this->font();
    font.setPointSize(11);
    int cell = 0;
    auto value = [&](const QString &caption, const QString &name, bool wide = false) {
        const int row = cell / 2;
        const int column = (cell % 2) * 2;
        cell += wide ? 2 : 1;
        auto *c = new QLabel(caption, this);
        c->setFont(font);
        auto *v = new QLabel(this);
        v->setObjectName(name);
        v->setFont(font);
        v->setStyleSheet(u"color:#0000A0"_s);
        grid->addWidget(c, row, column);
        grid->addWidget(v, row, column + 1, 1, wide ? 3 : 1);
        return v;
    };
    m_course = value(u"练习课程:"_s, u"resultCourse"_s, true);
    m_chapter = value(u"练习章节:"_s, u"resultChapter"_s, true);
    m_start = value(u"开始时间:"_s, u"resultStart"_s);
    m_elapsed = value(u"用时:"_s, u"resultElapsed"_s);
    m_total = value(u"本次练习题量共:"_s, u"resultTotal"_s);
    m_done = value(u"已练习题数:"_s, u"resultDone"_s);
    m_right = value(u"正确题数:"_s, u"resultRight"_s);
    m_notDone = value(u"未完成题数:"_s, u"resultNotDone"_s);
    m_wrong = value(u"错误题数:"_s, u"resultWrong"_s);
    m_full = value(u"满分:"_s, u"resultFull"_s);
    m_score = value(u"您本次得分:"_s, u"resultScore"_s);
    m_percent = value(u"正确率为:"_s, u"resultPercent"_s);
    m_score->setStyleSheet(u"color:#FF0000"_s);
    layout->addLayout(grid);
    layout->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    const QList<std::pair<QString, QString>> reviews = {{u"SpeedButton16"_s, u"查看所有答案"_s},
                                                        {u"SpeedButton13"_s, u"查看错题"_s},
                                                        {u"SpeedButton14"_s, u"查看对题"_s},
                                                        {u"SpeedButton17"_s, u"未做题目"_s},
                                                        {u"SpeedButton15"_s, u"重新练习"_s}};
    for (const auto &[name, caption] : reviews) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setAutoRaise(true);
        b->setFixedSize(121, 41);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
}

void PracticeResultPanel::showResult(const practice::PracticeResult &r)
{
    const practice::PracticeTotals &t = r.totals;
    const QString questions = u" 题"_s;
    m_course->setText(r.course);
    m_chapter->setText(r.chapter);
    m_start->setText(r.startTime);
    m_elapsed->setText(r.elapsed);
    m_total->setText(QString::number(r.questionTotal) + questions);
    m_done->setText(QString::number(t.done) + questions);
    m_right->setText(QString::number(t.right) + questions);
    m_notDone->setText(QString::number(t.notDone) + questions);
    m_wrong->setText(QString::number(t.wrong) + questions);
    m_full->setText(text::marksText(t.fullMarks) + u" 分"_s);
    m_score->setText(text::marksText(t.score) + u" 分"_s);
    m_percent->setText(practice::percentText(t.score, t.fullMarks));
    Q_EMIT resultShown();
}
