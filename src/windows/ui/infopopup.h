#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QTimer;
class QToolButton;
class QUrl;

// The information popup (Tad_page): a small always-on-top window that slides up at the bottom
// right of the screen with the publisher's notice, counts twenty seconds down in its caption and
// closes itself. "详细内容.." opens the notice's address; without one it is disabled.
class InfoPopup final : public QWidget
{
    Q_OBJECT
public:
    explicit InfoPopup(QWidget *parent = nullptr);

    // The notice text and the address behind "详细内容.." (may be empty).
    void setNotice(const QString &text, const QString &address);
    QString address() const;

    // The screen the popup slides in on; placing starts over from its bottom edge.
    void setScreenSize(const QSize &size);
    // Opens addresses for "详细内容.."; the desktop's handler unless replaced (tests).
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { m_opener = std::move(opener); }

    QTimer *slideTimer() const { return m_slide; }
    QTimer *countdownTimer() const { return m_countdown; }

public Q_SLOTS:
    // Every 100 ms while sliding: 3 pixels up until the window stands 40 pixels above the bottom.
    void slideTick();
    // Every second: the caption counts 20 down to 1, the next tick closes the window.
    void countdownTick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openAddress();

    QSize m_screen;
    int m_ticks = 0;
    QTimer *m_slide = nullptr;
    QTimer *m_countdown = nullptr;
    QLabel *m_text = nullptr;         // Label1
    QPlainTextEdit *m_memo = nullptr; // Memo1, holds the notice text
    QToolButton *m_more = nullptr;    // SpeedButton1
    std::function<bool(const QUrl &)> m_opener;
};
