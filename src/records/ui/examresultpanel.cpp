#include "records/ui/examresultpanel.h"

#include "exam/handin.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList &captions()
{
    static const QStringList all{u"考试课程:"_s, u"考试试卷:"_s, u"试卷题目数:"_s, u"用时:"_s,
                                 u"开始时间:"_s, u"已做完题数:"_s, u"未完成题数:"_s, u"正确题数:"_s,
                                 u"错误题数:"_s, u"满分:"_s, u"您本次得分:"_s, u"正确率:"_s};
    return all;
}

} // namespace

ExamResultPanel::ExamResultPanel(QWidget *parent) : QGroupBox(u"考试成绩"_s, parent)
{
    setObjectName(u"examResult"_s);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(40, 24, 40, 20);
    auto *form = new QFormLayout;
    column->addLayout(form);
    form->setHorizontalSpacing(24);
    form->setVerticalSpacing(12);
    for (int k = 0; k < captions().size(); ++k) {
        auto *value = new QLabel(this);
        value->setObjectName(u"examResultValue%1"_s.arg(k + 1));
        value->setStyleSheet(u"color:#0000FF;"_s);
        form->addRow(captions().at(k), value);
        m_values << value;
    }
    column->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    const QList<std::pair<QString, QString>> reviews = {{u"SpeedButton37"_s, u"查看所有答案"_s},
                                                        {u"SpeedButton34"_s, u"查看错题"_s},
                                                        {u"SpeedButton35"_s, u"查看对题"_s},
                                                        {u"SpeedButton38"_s, u"未做题目"_s},
                                                        {u"SpeedButton36"_s, u"重新考试"_s}};
    for (const auto &[name, caption] : reviews) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setAccessibleName(caption);
        b->setAutoRaise(true);
        b->setFixedSize(121, 41);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    column->addLayout(buttons);
}

void ExamResultPanel::showResult(const exam::ExamResult &r)
{
    const QStringList values{r.course, r.paper, r.questionCount, r.time, r.start, r.done,
                             r.notDone, r.right, r.wrong, r.fullMarks, r.score, r.rate};
    for (int k = 0; k < values.size(); ++k)
        m_values[k]->setText(values.at(k));
    update();
}

QString ExamResultPanel::value(const QString &caption) const
{
    const qsizetype k = captions().indexOf(caption);
    return k < 0 ? QString() : m_values.at(k)->text();
}
