#pragma once

#include <QGroupBox>

class HistoryModel;
class QLabel;
class QTableView;

// The "  历史记录  " group of the study-progress panel: the grid of finished sessions (DBGrid1)
// over a HistoryModel, and below it the course and chapter of the selected session
// (courseName, chapterName).
class HistoryView final : public QGroupBox
{
    Q_OBJECT
public:
    explicit HistoryView(QWidget *parent = nullptr);

    HistoryModel *model() const { return m_model; }
    QTableView *grid() const { return m_grid; }
    // Reads the sessions again (throws db::Error) and makes the newest one current.
    void reload();
    // Closes the history query: no rows, no course.
    void close();
    void selectFirst();

    QString courseText() const;
    QString chapterText() const;

private:
    void showCourseOf(int row);

    HistoryModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_course = nullptr;
    QLabel *m_chapter = nullptr;
};
