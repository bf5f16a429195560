#include "bankrows.h"

#include "sheet/calcanswer.h"

#include <QJsonArray>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QString kAbsent = u"-"_s;

bool fail(QString *error, const QString &where, const QString &what)
{
    *error = where + u": "_s + what;
    return false;
}

QString str(const QJsonObject &o, const QString &key)
{
    return o.value(key).toString().trimmed();
}

// Amounts are written as plain decimals without trailing zeros: the program compares them as text.
QString amountText(const QJsonValue &v)
{
    if (v.isDouble()) {
        QString t = QString::number(v.toDouble(), 'f', 2);
        while (t.contains(u'.') && (t.endsWith(u'0') || t.endsWith(u'.')))
            t.chop(1);
        return t;
    }
    return v.toString().trimmed();
}

// Replaces {name} by the variant's value in every string of a template question.
QJsonValue substitute(const QJsonValue &v, const QJsonObject &vars)
{
    if (v.isString()) {
        QString s = v.toString();
        for (auto it = vars.begin(); it != vars.end(); ++it)
            s.replace(u'{' + it.key() + u'}', amountText(it.value()));
        return s;
    }
    if (v.isArray()) {
        QJsonArray out;
        for (const QJsonValue &item : v.toArray())
            out.append(substitute(item, vars));
        return out;
    }
    if (v.isObject()) {
        QJsonObject out;
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            out.insert(it.key(), substitute(it.value(), vars));
        return out;
    }
    return v;
}

// Option texts A..F, "-" for the options not offered.
bool options(const QJsonValue &v, QStringList *out)
{
    const QJsonArray a = v.toArray();
    if (a.size() < 2 || a.size() > 6)
        return false;
    out->clear();
    for (const QJsonValue &o : a)
        out->append(o.toString().trimmed());
    while (out->size() < 6)
        out->append(kAbsent);
    return !out->contains(QString());
}

const QRegularExpression &idPattern()
{
    static const QRegularExpression re(u"^[A-Za-z0-9_]{1,14}$"_s);
    return re;
}

} // namespace

bool BankRows::addCourse(const QJsonObject &source, QString *error)
{
    const QJsonObject course = source.value(u"course"_s).toObject();
    const QString id = str(course, u"id"_s);
    const QString name = str(course, u"name"_s);
    if (!idPattern().match(id).hasMatch() || name.isEmpty())
        return fail(error, u"course"_s, u"needs an id (letters, digits, _; at most 14) and a name"_s);
    const QString package = course.contains(u"package"_s) ? str(course, u"package"_s) : u"0"_s;
    append(u"ma_id"_s, {id, name, str(course, u"speaker"_s), package});
    for (const QJsonValue &unit : source.value(u"units"_s).toArray()) {
        if (!addUnit(id, unit.toObject(), error))
            return false;
    }
    return true;
}

bool BankRows::addUnit(const QString &courseId, const QJsonObject &unit, QString *error)
{
    const QString id = str(unit, u"id"_s);
    const QString kind = str(unit, u"kind"_s);
    if (!idPattern().match(id).hasMatch() || (kind != u"chapter" && kind != u"paper"))
        return fail(error, u"unit "_s + id, u"needs an id and \"kind\": \"chapter\" or \"paper\""_s);
    append(u"cap_id"_s, {id, str(unit, u"name"_s), courseId, kind == u"chapter" ? u"1"_s : u"2"_s});

    if (unit.contains(u"handout"_s)) {
        const QJsonObject h = unit.value(u"handout"_s).toObject();
        const bool local = h.contains(u"page"_s);
        append(u"ks_jy"_s, {id, local ? str(h, u"page"_s) : str(h, u"url"_s), local ? 1 : 0});
    }
    int n = 0;
    for (const QJsonValue &v : unit.value(u"net"_s).toArray()) {
        const QJsonObject net = v.toObject();
        const auto orZero = [&](const QString &key) {
            const QString t = str(net, key);
            return t.isEmpty() ? u"0"_s : t;
        };
        append(u"ks_net"_s, {id, u"%1_N%2"_s.arg(id).arg(++n), str(net, u"name"_s), orZero(u"speaker"_s),
                             orZero(u"url"_s), str(net, u"file"_s)});
    }

    QMap<int, int> seq;
    int index = 0;
    for (const QJsonValue &v : unit.value(u"questions"_s).toArray()) {
        ++index;
        const QJsonObject q = v.toObject();
        const QString where = u"unit %1, question %2"_s.arg(id).arg(index);
        if (!q.contains(u"variants"_s)) {
            if (!addQuestion(id, q, &seq, error))
                return fail(error, where, *error);
            continue;
        }
        QJsonObject body = q;
        body.remove(u"variants"_s);
        for (const QJsonValue &vars : q.value(u"variants"_s).toArray()) {
            if (!addQuestion(id, substitute(body, vars.toObject()).toObject(), &seq, error))
                return fail(error, where, *error);
        }
    }
    return true;
}

bool BankRows::addQuestion(const QString &unitId, const QJsonObject &q, QMap<int, int> *seq, QString *error)
{
    const int type = q.value(u"type"_s).toInt();
    const QString stem = str(q, u"q"_s);
    if (type < 1 || type > 6 || stem.isEmpty()) {
        *error = u"needs \"type\" 1..6 and a stem \"q\""_s;
        return false;
    }
    const QString pId = u"%1_%2%3"_s.arg(unitId).arg(type).arg(++(*seq)[type], 2, 10, QChar(u'0'));
    QString memo = str(q, u"memo"_s);
    QString answer = str(q, u"answer"_s);
    QStringList cells(6, kAbsent);
    int amounts = 0;
    double score = q.value(u"score"_s).toDouble(QList<double>{1, 2, 1, 10, 0, 4}.at(type - 1));

    switch (type) {
    case 1:
    case 2:
        if (!options(q.value(u"options"_s), &cells)) {
            *error = u"needs 2 to 6 non-empty options"_s;
            return false;
        }
        break;
    case 3:
        cells[0] = u"对"_s;
        cells[1] = u"错"_s;
        if (answer != u"对" && answer != u"错") {
            *error = u"a true/false answer is 对 or 错"_s;
            return false;
        }
        answer = answer == u"对" ? u"A"_s : u"B"_s;
        break;
    case 4: {
        const QString mode = str(q, u"mode"_s);
        const QJsonArray items = q.value(u"items"_s).toArray();
        if ((mode != u"amounts" && mode != u"entries") || items.isEmpty() || items.size() > 6) {
            *error = u"needs \"mode\" amounts or entries and 1 to 6 items"_s;
            return false;
        }
        amounts = mode == u"amounts" ? 1 : 0;
        for (int k = 0; k < items.size(); ++k) {
            if (amounts) {
                cells[k] = amountText(items[k]);
                continue;
            }
            QStringList lines;
            for (const QJsonValue &line : items[k].toArray())
                lines << line.toString().trimmed();
            cells[k] = lines.join(u';');
        }
        if (answer.isEmpty())
            answer = sheet::calcReferenceAnswer(cells, amounts != 0);
        break;
    }
    case 5: {
        const QJsonArray subs = q.value(u"subs"_s).toArray();
        if (subs.isEmpty() || subs.size() > 6) {
            *error = u"a case question needs 1 to 6 sub-questions"_s;
            return false;
        }
        QStringList shown;
        score = 0;
        for (int k = 0; k < subs.size(); ++k) {
            const QJsonObject s = subs[k].toObject();
            QStringList opts;
            if (!options(s.value(u"options"_s), &opts)) {
                *error = u"sub-question %1 needs 2 to 6 non-empty options"_s.arg(k + 1);
                return false;
            }
            const QString letters = str(s, u"answer"_s);
            const double subScore = s.value(u"score"_s).toDouble(2);
            const QString kind = letters.size() > 1 ? u"2"_s : u"1"_s;
            append(u"ex_sub"_s, {pId, QString::number(k + 1), str(s, u"q"_s), opts[0], opts[1], opts[2], opts[3],
                                 opts[4], opts[5], letters, str(s, u"memo"_s), subScore, kind});
            shown << u"%1.%2"_s.arg(k + 1).arg(letters);
            score += subScore;
        }
        answer = shown.join(u'；');
        break;
    }
    case 6:
        break;
    }
    append(u"ex_page_id"_s, {unitId, pId, QString::number(type), stem, cells[0], cells[1], cells[2], cells[3], cells[4],
                             cells[5], answer, memo, amounts, 0, score});
    return true;
}

bool BankRows::addContent(const QJsonObject &source, QString *error)
{
    for (const QJsonValue &v : source.value(u"soft_text"_s).toArray()) {
        const QJsonObject t = v.toObject();
        if (str(t, u"text"_s).isEmpty())
            return fail(error, u"soft_text"_s, u"a row without text"_s);
        append(u"soft_text"_s, {str(t, u"text"_s), t.value(u"left"_s).toInt(), t.value(u"top"_s).toInt()});
    }
    const auto entries = [&](const QString &key, const QString &table) {
        for (const QJsonValue &v : source.value(key).toArray()) {
            const QJsonObject e = v.toObject();
            const bool local = e.contains(u"page"_s);
            append(table, {str(e, u"name"_s), local ? str(e, u"page"_s) : str(e, u"url"_s), local ? 1 : 0});
        }
    };
    entries(u"guide"_s, u"ks_dg"_s);
    entries(u"help"_s, u"ks_ad"_s);
    return true;
}
