#pragma once

#include "update/updatejob.h"

#include <QWidget>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QMovie;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The updater's window (form update_tools, class Tupdate_tools): the choice between the online
// update and a bank file from disk, the progress area with its animation, the result line and
// the report. The work itself is UpdateJob's; this class shows it.
class UpdateWindow final : public QWidget
{
    Q_OBJECT
public:
    UpdateWindow(const QString &address, const QString &lastDate, QWidget *parent = nullptr);
    ~UpdateWindow() override;

    // Without arguments the program is not to be used on its own: says so and gives nothing.
    static std::unique_ptr<UpdateWindow> create(const QStringList &args);

    UpdateJob &job() { return *m_job; }
    // Test seam for the open-file dialog; an empty result means cancelled.
    void setFileChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }
    QString lastDate() const { return m_lastDate; }

private:
    void build();
    void startClicked();
    void runOnline();
    void runLocal();
    void showProgressArea();
    void finishWork(bool hideProgress);
    void setResult(const QString &text);
    void showFailure(const UpdateJob::Outcome &outcome);
    void connectJob();

    QString m_address;
    QString m_lastDate;
    UpdateJob *m_job = nullptr;
    std::function<QString()> m_chooser;
    bool m_used = false;

    QLabel *m_picture = nullptr;
    QRadioButton *m_online = nullptr;
    QRadioButton *m_local = nullptr;
    QGroupBox *m_progressArea = nullptr;
    QLabel *m_animation = nullptr;
    QMovie *m_movie = nullptr;
    QProgressBar *m_bar = nullptr;
    QWidget *m_resultArea = nullptr;
    QLabel *m_result = nullptr;
    QPlainTextEdit *m_report = nullptr;
    QPushButton *m_start = nullptr;
};
