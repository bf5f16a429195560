#pragma once

#include "records/review.h"

#include <QObject>

class ExamResultPanel;
class MainWindow;
class MockExamPanel;
class PracticeResultPanel;

// The ten review buttons of the two result panels. Each works on the session built last: it says so
// when the part it shows is empty, resets the session for "重新练习" / "重新考试", and reopens the
// practice or exam window on that part. The selections, resets and inputs are records:: functions;
// this class only orders them around the windows, the wait notice and the messages.
class ReviewButtons final : public QObject
{
    Q_OBJECT
public:
    ReviewButtons(MainWindow *main, PracticeResultPanel *practice, ExamResultPanel *exam, MockExamPanel *examPanel);

    void practiceReview(records::Review review);
    void examReview(records::Review review);

private:
    // The message of a button pressed before any session was built; false then.
    bool haveSession(const QString &message) const;

    MainWindow *m_main;
    MockExamPanel *m_examPanel;
};
