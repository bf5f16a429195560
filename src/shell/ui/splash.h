#pragma once

#include <QWidget>

class QLabel;

// The start-up splash (Tflash): picture, title, version mark and a status line at the bottom.
class Splash final : public QWidget
{
    Q_OBJECT
public:
    explicit Splash(const QString &title);
    // Sets the status line and paints it at once.
    void setStatus(const QString &text);
    QString status() const;

private:
    QLabel *m_status = nullptr;
};
