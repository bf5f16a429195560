#pragma once

#include "practice/practicetotals.h"

#include <QGroupBox>

class QLabel;
class QToolButton;

// The practice-result panel " 练习成绩" of the chapter-practice panel: the totals of the practice
// session finished last, and the five review buttons (SpeedButton16 "查看所有答案", SpeedButton13
// "查看错题", SpeedButton14 "查看对题", SpeedButton17 "未做题目", SpeedButton15 "重新练习"), which
// the review modes connect to.
//
// Value labels: resultCourse, resultChapter, resultStart, resultElapsed, resultTotal, resultDone,
// resultRight, resultNotDone, resultWrong, resultFull, resultScore, resultPercent.
class PracticeResultPanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit PracticeResultPanel(QWidget *parent = nullptr);

    void showResult(const practice::PracticeResult &result);

Q_SIGNALS:
    // A result was shown; the panel wants to be in front.
    void resultShown();

private:
    QLabel *m_course = nullptr;
    QLabel *m_chapter = nullptr;
    QLabel *m_start = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_done = nullptr;
    QLabel *m_right = nullptr;
    QLabel *m_notDone = nullptr;
    QLabel *m_wrong = nullptr;
    QLabel *m_full = nullptr;
    QLabel *m_score = nullptr;
    QLabel *m_percent = nullptr;
};
