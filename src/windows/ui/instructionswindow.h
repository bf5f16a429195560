#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;
class QToolButton;
namespace paper {
struct Brief;
}

// The exam instructions window (Tlogon_win): five full-window slides from skin/logon-*.jpg with hot
// spots over their drawn buttons, ending on the information page with the exam's minutes, course,
// counts and marks, from where the learner starts the exam.
//
// The two 2-second pauses do not block the event loop: a single-shot timer runs the rest of the
// step while the window keeps painting; no hot spot is visible during a pause except
// SpeedButton4 on the way to the fifth slide, which cancels the pause and starts over.
class InstructionsWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit InstructionsWindow(QWidget *parent = nullptr);

    // Information page: exam minutes, course name and the counts and marks of the built session;
    // the third slide follows the session's fourth question type.
    void setBrief(const QString &minutes, const QString &courseName, const paper::Brief &brief);

    // The slide shown, e.g. "skin/logon-2.jpg"; empty while cleared.
    QString currentPicture() const { return m_picture; }
    bool isWaiting() const;

    // Closes the window for the opener (a new exam start); the learner has no way to close it.
    void dismiss();

public Q_SLOTS:
    // Button2: first slide, a pause, then the second slide with its hot spot.
    void firstStep();
    // The end of the running pause (called by the timer; tests call it directly).
    void finishWait();

Q_SIGNALS:
    // SpeedButton1: the window has closed; the opener shows the exam window.
    void startRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Pending { None, SecondSlide, FifthSlide };

    QToolButton *hotSpot(const QString &name, const QRect &geometry, bool hand);
    QWidget *buildInformation();
    void showPicture(const QString &relativePath);
    void pause(Pending next);
    void onSecondSlideClicked();
    void onThirdSlideClicked();
    void onRestartClicked();
    void onStartClicked();

    QString m_thirdPicture;
    QString m_picture;
    Pending m_pending = Pending::None;
    bool m_closeAllowed = false;
    QTimer *m_wait = nullptr;
    QLabel *m_image = nullptr;        // Image1
    QToolButton *m_next2 = nullptr;   // SpeedButton2
    QToolButton *m_next3 = nullptr;   // SpeedButton3
    QToolButton *m_restart = nullptr; // SpeedButton4
    QToolButton *m_start = nullptr;   // SpeedButton1
    QWidget *m_info = nullptr;        // Panel1
    QLabel *m_minutes = nullptr;      // Label4
    QLabel *m_total = nullptr;        // Label6
    QLabel *m_course = nullptr;       // Label8
    QList<QLabel *> m_rowName;        // row names; the fourth is Label12
    QList<QLabel *> m_rowCount;       // Label13..Label16
    QList<QLabel *> m_rowMarks;       // Label17..Label20
    QLabel *m_fourthUnit = nullptr;   // Label23
};
