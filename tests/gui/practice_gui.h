#pragma once

#include "practice/ui/practicewindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

// Finding and driving widgets of the practice screens by their object names.
namespace practicegui {

template <typename T = QWidget> T *child(const QObject *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no child %s", qPrintable(name));
    return c;
}

inline QString text(const QObject *w, const QString &name)
{
    return child<QLabel>(w, name)->text();
}

inline void click(const QObject *w, const QString &name)
{
    child<QAbstractButton>(w, name)->click();
}

// Makes the row of a question (sub-question) current through the question picker.
inline void goToRow(PracticeWindow *w, const QString &pId, const QString &sub = QStringLiteral("0"))
{
    const auto &rows = w->session().rows();
    for (int k = 0; k < rows.size(); ++k) {
        if (rows.at(k).pId == pId && rows.at(k).subNumber == sub) {
            click(w, QStringLiteral("pickButton"));
            child<QTableWidget>(w, QStringLiteral("pickerList"))->setCurrentCell(k, 0);
            click(w, QStringLiteral("pickerBack"));
            return;
        }
    }
    qFatal("no row %s", qPrintable(pId));
}

} // namespace practicegui
