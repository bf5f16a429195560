#pragma once

#include "shell/appconfig.h"

#include <QMediaPlayer>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QStatusBar;
class QToolButton;
class DisplayMode;
class Browser;
class LoginSettingsWindow;
class UpdateChecker;

// The main window (Tedu_main): borderless frame with its own title bar, the navigation bar, eight
// stacked content panels and the status bar. It lives for the whole run and owns every other window.
class MainWindow final : public QWidget
{
    Q_OBJECT
public:
    enum class WaitNotice { Opening, Building }; // Panel3, Panel7

    explicit MainWindow(DisplayMode *display, QWidget *parent = nullptr);
    ~MainWindow() override;

    const AppConfig &config() const { return m_config; }
    // Path under the program folder, e.g. "skin/bg.bmp".
    QString programFile(const QString &relative) const;
    static QString titleText();
    // "1分", "2分", "1分", "10分", "10分", "4分" for types 1..6.
    static QString typeScoreLabel(int type);

    // Content panels by component name: Panel2, Panel6, Panel9, Panel8, Panel10, Panel11, Panel13, Panel14.
    QWidget *panel(const QString &name) const;
    void bringToFront(QWidget *panel);
    QWidget *frontPanel() const;
    void showWaitNotice(WaitNotice which, bool shown);

    // The identifier of the session built last.
    QString currentPageId() const { return m_currentPageId; }
    void setCurrentPageId(const QString &id) { m_currentPageId = id; }
    // The label of the session being set up ("章节练习", "模拟考试", "随机考试", ...), set by the setup
    // panels; the review modes hand it to the windows they reopen.
    QString sessionKind() const { return m_sessionKind; }
    void setSessionKind(const QString &kind) { m_sessionKind = kind; }
    // Which setup panel opened the course list last: "章节练习" or "考试".
    QString panelKind() const { return m_panelKind; }
    void setPanelKind(const QString &kind) { m_panelKind = kind; }

    // The exam window of the session built last, registered by its opener.
    QWidget *examWindow() const { return m_examWindow; }
    void setExamWindow(QWidget *window) { m_examWindow = window; }
    // Every build that replaces the working copy calls this first: the open practice and exam
    // windows are asked to close through their close requests (the practice window's finish
    // question runs). False when one of them stays open; the build must then write nothing.
    bool closeSessionWindows();

    // Media players of the handout and demonstration panels, registered by those panels; leaving
    // their panel stops them.
    void setHandoutPlayer(QMediaPlayer *p) { m_mp2 = p; }
    void setDemoPlayer(QMediaPlayer *p) { m_mp1 = p; }

    // Runs the steps of the first show: display mode, database, network state, home texts, login.
    // With a server in main.ini the learner's login comes first and opens the bank as him.
    // Returns false when the database cannot be opened (the caller ends the program).
    bool firstShow();
    bool isOnline() const { return m_online; }
    // Asks the connected-state query now (the content panels and the Q&A board ask at each click).
    bool checkOnline() const;
    // Replaces the connected-state query (tests).
    void setOnlineProbe(std::function<bool()> probe) { m_onlineProbe = std::move(probe); }
    // Text of status bar panel 0, 1 or 2.
    QString statusText(int panel) const;

    void toggleMaximised();

    // The look for a newer bank and for the publisher's notice (started by the first show).
    UpdateChecker *updateChecker() const { return m_updateChecker; }
    // Starts the updater at once (the manual update).
    void startUpdater();
    // The open login-settings window, if any.
    LoginSettingsWindow *loginSettings() const;
    // The process's exit code when firstShow() returned false: 1 after a failure, 0 when the
    // learner left at the login.
    int exitCode() const { return m_exitCode; }

Q_SIGNALS:
    // The chapter-practice and mock-exam buttons (also re-run after maximise/restore while their
    // panel is in front), so that the panels rebuild their contents.
    void chapterPracticeRequested();
    void mockExamRequested();
    // The study-progress button "学习进阶".
    void studyProgressRequested();
    void firstShown();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    void buildNavigation(QWidget *bar);
    void buildPanels(QWidget *area);
    void buildStatusBar(QWidget *bar);
    void loadSkin();
    void layoutFrame();
    void placeHomeTexts();
    void setStatus(int panel, const QString &text);
    void onPanelChanged();
    void showQaBoard();
    void buildUpdateCheck();
    // The start-up login; with a server named, the learner's login to it that opens the bank.
    bool askLogin(const QString &server = {});
    void openLoginSettings();

    DisplayMode *m_display = nullptr;
    AppConfig m_config;
    QStringList m_configErrors;
    QString m_currentPageId;
    QString m_sessionKind; // session_kind
    QString m_panelKind;   // panel_kind
    QPointer<QWidget> m_examWindow;
    bool m_online = false;
    std::function<bool()> m_onlineProbe;
    bool m_displayChanged = false; // display_changed
    QSize m_savedScreen;
    bool m_firstShowDone = false;

    QWidget *m_frame = nullptr;    // back_border
    QWidget *m_titleBar = nullptr; // Panel4
    QLabel *m_titleImage = nullptr;
    QToolButton *m_minButton = nullptr;
    QToolButton *m_maxButton = nullptr;
    QToolButton *m_closeButton = nullptr;
    QWidget *m_area = nullptr; // holds the stacked content panels
    QList<QWidget *> m_panels;
    QLabel *m_headline = nullptr;    // Label3
    QLabel *m_subHeadline = nullptr; // Label4
    Browser *m_wb1 = nullptr;
    QWidget *m_waitOpening = nullptr;  // Panel3
    QWidget *m_waitBuilding = nullptr; // Panel7
    QStatusBar *m_statusBar = nullptr; // sb1
    QList<QLabel *> m_statusPanels;
    QPointer<QMediaPlayer> m_mp1;
    QPointer<QMediaPlayer> m_mp2;
    QPoint m_dragOffset;
    bool m_manualDrag = false;
    UpdateChecker *m_updateChecker = nullptr;
    QPointer<LoginSettingsWindow> m_loginSettings;
    int m_exitCode = 1;
};
