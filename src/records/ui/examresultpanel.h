#pragma once

#include <QGroupBox>

class QLabel;
namespace exam {
struct ExamResult;
}

// The exam-result group "考试成绩" of the mock-exam panel: what a hand-in totalled, caption by
// caption, and the five review buttons (SpeedButton37 "查看所有答案", SpeedButton34 "查看错题",
// SpeedButton35 "查看对题", SpeedButton38 "未做题目", SpeedButton36 "重新考试"), which the review
// modes connect to.
class ExamResultPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit ExamResultPanel(QWidget *parent = nullptr);

    void showResult(const exam::ExamResult &result);
    // The value shown beside a caption such as "正确率:".
    QString value(const QString &caption) const;

private:
    QList<QLabel *> m_values;
};
