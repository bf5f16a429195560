#pragma once

#include "session/targetedsession.h"

#include <QWidget>

#include <array>

class ChapterPracticePanel;
class MainWindow;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Targeted practice inside the chapter-practice panel: the three mode buttons under the course
// list, and one page of the panel's box stack holding the settings box with the search box and the
// period box laid over it. The selections and the build are session::selectTargeted and friends.
//
// Controls carry the form's names: SpeedButton21 (essence), SpeedButton22 (search), SpeedButton23
// (wrong questions), GroupBox12, Label53, Label46, Label47, Label57, Edit4 (how many), Edit5 (start
// from), Label88, Label87, Label86, Label82, Label79, CheckBox4, Edit6 (seconds), Edit7 (font size),
// Label92, SpeedButton24 (start); gb19 with Edit12, SpeedButton31, SpeedButton40; gb89 with
// Label160, Label161, Label162, RadioButton1..4, Label169, Label168, Label167, Label69,
// SpeedButton52, SpeedButton53.
class TargetedPracticePanel final : public QWidget
{
    Q_OBJECT
public:
    TargetedPracticePanel(MainWindow *main, ChapterPracticePanel *chapterPanel, QWidget *courseBox, QComboBox *courses);

    session::TargetedMode mode() const { return m_query.mode; }

    // The mode buttons.
    void SpeedButton21Click();
    void SpeedButton22Click();
    void SpeedButton23Click();
    // Search box: "确定" (also Enter in Edit12) and "取消".
    void SpeedButton31Click();
    void SpeedButton40Click();
    // Period box: "确定" and "取消".
    void SpeedButton52Click();
    void SpeedButton53Click();
    // "开始练习"
    void SpeedButton24Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildModeButtons(QWidget *courseBox);
    QGroupBox *buildSettingsBox();
    QGroupBox *buildSearchBox();
    QGroupBox *buildPeriodBox();
    void setModeTexts(session::TargetedMode mode);
    void bringToFront();
    bool currentCourse();
    void runSelection();
    void showResult(const session::TargetedCounts &counts);
    void autoAdvanceToggled(bool checked);

    MainWindow *m_main;
    ChapterPracticePanel *m_chapterPanel;
    QComboBox *m_courses;
    session::TargetedQuery m_query;

    QGroupBox *m_settings = nullptr; // GroupBox12
    QLabel *m_heading = nullptr;     // Label53
    QLabel *m_title = nullptr;       // Label46
    QLabel *m_description = nullptr; // Label47
    QLabel *m_found = nullptr;       // Label57
    QSpinBox *m_howMany = nullptr;   // Edit4
    QSpinBox *m_startFrom = nullptr; // Edit5
    std::array<QLabel *, 3> m_lines{};
    QLabel *m_fourthName = nullptr; // Label82
    QLabel *m_fourthLine = nullptr; // Label79
    QCheckBox *m_autoAdvance = nullptr;
    QSpinBox *m_seconds = nullptr;
    QSpinBox *m_fontSize = nullptr;
    QLabel *m_preview = nullptr;
    QPushButton *m_start = nullptr;
    QGroupBox *m_searchBox = nullptr; // gb19
    QLineEdit *m_searchText = nullptr;
    QGroupBox *m_periodBox = nullptr; // gb89
    std::array<QLabel *, 3> m_periodLabels{};
    std::array<QRadioButton *, 4> m_periods{};
};
