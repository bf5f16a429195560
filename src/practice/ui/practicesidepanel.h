#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;

// The side panel "功能区" of the practice window: session facts, the current question's type,
// number and marks, the clocks, and the show-all and finish buttons. Plain labels the window fills.
//
// Object names: courseValue, chapterValue, Label27 (questions), singleCount, multipleCount,
// judgeCount, Label67 (fourth type name), fourthCount, currentTypeName, Label28 (number within
// type), Label33 (start time), elapsedValue, markState, essenceState, Label24 (countdown),
// showAllButton, finishButton.
class PracticeSidePanel final : public QGroupBox
{
    Q_OBJECT
public:
    explicit PracticeSidePanel(QWidget *parent = nullptr);

    QLabel *course = nullptr;
    QLabel *chapter = nullptr;
    QLabel *total = nullptr;
    QLabel *single = nullptr;
    QLabel *multiple = nullptr;
    QLabel *judge = nullptr;
    QLabel *fourthName = nullptr;
    QLabel *fourth = nullptr;
    QLabel *typeName = nullptr;
    QLabel *number = nullptr;
    QLabel *startTime = nullptr;
    QLabel *elapsed = nullptr;
    QLabel *markState = nullptr;
    QLabel *essenceState = nullptr;
    QLabel *countdown = nullptr;
    QPushButton *showAll = nullptr;
    QPushButton *finish = nullptr;

    // "已标记"/"精华类" in red, "未标记"/"普通类" in black.
    void setMarks(bool marked, bool essence);
};
