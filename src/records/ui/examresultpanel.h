#pragma once

#include <QGroupBox>

class QLabel;
namespace exam {
struct ExamResult;
}

// The exam-result group "考试成绩" of the mock-exam panel: what a hand-in totalled, caption by
// caption. The review buttons of this group come with the review modes.
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
