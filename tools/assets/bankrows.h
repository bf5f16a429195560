#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantList>

// The rows of the demo bank's content tables, collected from the JSON sources in table column
// order. Each add* call checks the shape of its source and names the place of the first problem.
class BankRows final
{
public:
    bool addCourse(const QJsonObject &source, QString *error);
    bool addContent(const QJsonObject &source, QString *error);

    // Table name -> rows, each row one value per column.
    QMap<QString, QList<QVariantList>> tables;

private:
    bool addUnit(const QString &courseId, const QJsonObject &unit, QString *error);
    bool addQuestion(const QString &unitId, const QJsonObject &q, QMap<int, int> *seq, QString *error);
    void append(const QString &table, const QVariantList &row) { tables[table].append(row); }
};
