#include "records/ui/examresultpanel.h"

#include "exam/handin.h"

#include <QFormLayout>
#include <QLabel>

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
    auto *form = new QFormLayout(this);
    form->setContentsMargins(40, 24, 40, 24);
    form->setHorizontalSpacing(24);
    form->setVerticalSpacing(12);
    for (int k = 0; k < captions().size(); ++k) {
        auto *value = new QLabel(this);
        value->setObjectName(u"examResultValue%1"_s.arg(k + 1));
        value->setStyleSheet(u"color:#0000FF;"_s);
        form->addRow(captions().at(k), value);
        m_values << value;
    }
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
