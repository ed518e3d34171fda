#include "reports/ReportExpression.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace zol::report {

namespace {

bool isMissing(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return true;
    return v.typeId() == QMetaType::QString && v.toString().isEmpty();
}

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumeric(const QVariant& v)
{
    return isIntegral(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// A number from a value: numbers as they are, texts that read as numbers, a missing value as 0.
bool toNumber(const QVariant& v, QVariant& out)
{
    if (isMissing(v)) {
        out = qlonglong(0);
        return true;
    }
    if (isIntegral(v)) {
        out = v.toLongLong();
        return true;
    }
    if (isNumeric(v)) {
        out = v.toDouble();
        return true;
    }
    if (v.typeId() == QMetaType::Bool) {
        out = qlonglong(v.toBool() ? 1 : 0);
        return true;
    }
    if (v.typeId() == QMetaType::QString) {
        QString t = v.toString().trimmed();
        bool ok = false;
        const qlonglong i = t.toLongLong(&ok);
        if (ok) {
            out = i;
            return true;
        }
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = t.toDouble(&ok);
        if (ok) {
            out = d;
            return true;
        }
    }
    return false;
}

QDate toDate(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        QDate d = QDate::fromString(t, Qt::ISODate);
        if (!d.isValid())
            d = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
        return d;
    }
    return QDate();
}

bool truth(const QVariant& v)
{
    if (isMissing(v))
        return false;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (isNumeric(v))
        return v.toDouble() != 0.0;
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().isValid();
    return !v.toString().isEmpty();
}

// -1, 0, 1. A missing value equals the empty text and the number 0.
int compareValues(const QVariant& a, const QVariant& b)
{
    const bool ma = isMissing(a), mb = isMissing(b);
    if (ma && mb)
        return 0;
    if (isNumeric(a) || isNumeric(b) || a.typeId() == QMetaType::Bool || b.typeId() == QMetaType::Bool) {
        QVariant x, y;
        if (toNumber(a, x) && toNumber(b, y)) {
            if (isIntegral(x) && isIntegral(y)) {
                const qlonglong i = x.toLongLong(), j = y.toLongLong();
                return i < j ? -1 : (i > j ? 1 : 0);
            }
            const double i = x.toDouble(), j = y.toDouble();
            return i < j ? -1 : (i > j ? 1 : 0);
        }
    }
    if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate) {
        const QDate x = toDate(a), y = toDate(b);
        if ((x.isValid() || ma) && (y.isValid() || mb)) {
            if (!x.isValid())
                return -1;
            if (!y.isValid())
                return 1;
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    }
    const int c = displayText(a).compare(displayText(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool arithmetic(ExprNode::Op op, const QVariant& a, const QVariant& b, QVariant& out, QString* error)
{
    if (op == ExprNode::Add) {
        if (isMissing(a) && isMissing(b)) {
            out = QVariant();
            return true;
        }
        if (a.typeId() == QMetaType::QDate && isNumeric(b)) {
            out = a.toDate().addDays(b.toLongLong());
            return true;
        }
        const bool numA = isNumeric(a) || (isMissing(a) && isNumeric(b));
        const bool numB = isNumeric(b) || (isMissing(b) && isNumeric(a));
        if (!(numA && numB)) {
            out = displayText(a) + displayText(b);
            return true;
        }
    }
    QVariant x, y;
    if (!toNumber(a, x) || !toNumber(b, y)) {
        *error = QStringLiteral("il valore \"%1\" non è un numero").arg(displayText(toNumber(a, x) ? b : a));
        return false;
    }
    if (op == ExprNode::Div) {
        if (y.toDouble() == 0.0) {
            *error = QStringLiteral("divisione per zero");
            return false;
        }
        out = x.toDouble() / y.toDouble();
        return true;
    }
    if (isIntegral(x) && isIntegral(y)) {
        const qlonglong i = x.toLongLong(), j = y.toLongLong();
        out = op == ExprNode::Add ? i + j : (op == ExprNode::Sub ? i - j : i * j);
        return true;
    }
    const double i = x.toDouble(), j = y.toDouble();
    out = op == ExprNode::Add ? i + j : (op == ExprNode::Sub ? i - j : i * j);
    return true;
}

class Evaluator
{
public:
    Evaluator(EvalContext& context, ExprError* error) : m_context(context), m_error(error) {}

    bool eval(const ExprNode& n, QVariant& out)
    {
        switch (n.kind) {
        case ExprNode::Kind::Literal:
            out = n.value;
            return true;
        case ExprNode::Kind::Name:
            switch (n.ref) {
            case NameRef::Variable:
                out = n.value;
                return true;
            case NameRef::Field:
                out = m_context.fieldValue(n.fieldIndex);
                return true;
            case NameRef::Unbound:
                return fail(n, QStringLiteral("campo o variabile sconosciuta: %1").arg(n.name));
            default:
                out = m_context.special(n.ref);
                return true;
            }
        case ExprNode::Kind::Unary: {
            QVariant v;
            if (!eval(*n.args[0], v))
                return false;
            if (n.op == ExprNode::Not) {
                out = !truth(v);
                return true;
            }
            QVariant num;
            if (!toNumber(v, num))
                return fail(n, QStringLiteral("il valore \"%1\" non è un numero").arg(displayText(v)));
            out = isIntegral(num) ? QVariant(-num.toLongLong()) : QVariant(-num.toDouble());
            return true;
        }
        case ExprNode::Kind::Binary:
            return binaryOp(n, out);
        case ExprNode::Kind::Call:
            return call(n, out);
        case ExprNode::Kind::UserCall: {
            // The handler gets the slot holding the call as written: a name that nobody
            // knows then shows itself in the report instead of vanishing.
            out = n.source;
            QString why;
            if (!m_context.userFunction(n, out, &why))
                return fail(n, why);
            return true;
        }
        }
        return false;
    }

private:
    bool fail(const ExprNode& n, const QString& message)
    {
        if (m_error && m_error->message.isEmpty()) {
            m_error->message = message;
            m_error->column = n.column;
        }
        return false;
    }

    bool binaryOp(const ExprNode& n, QVariant& out)
    {
        QVariant a;
        if (!eval(*n.args[0], a))
            return false;
        if (n.op == ExprNode::And || n.op == ExprNode::Or) {
            const bool left = truth(a);
            if (n.op == ExprNode::And ? !left : left) {
                out = left;
                return true;
            }
            QVariant b;
            if (!eval(*n.args[1], b))
                return false;
            out = truth(b);
            return true;
        }
        QVariant b;
        if (!eval(*n.args[1], b))
            return false;
        switch (n.op) {
        case ExprNode::Eq:
            out = compareValues(a, b) == 0;
            return true;
        case ExprNode::Ne:
            out = compareValues(a, b) != 0;
            return true;
        case ExprNode::Lt:
            out = compareValues(a, b) < 0;
            return true;
        case ExprNode::Le:
            out = compareValues(a, b) <= 0;
            return true;
        case ExprNode::Gt:
            out = compareValues(a, b) > 0;
            return true;
        case ExprNode::Ge:
            out = compareValues(a, b) >= 0;
            return true;
        default: {
            QString why;
            if (!arithmetic(n.op, a, b, out, &why))
                return fail(n, why);
            return true;
        }
        }
    }

    bool call(const ExprNode& n, QVariant& out)
    {
        if (n.name == QLatin1String("IIF")) {
            QVariant cond;
            if (!eval(*n.args[0], cond))
                return false;
            return eval(*n.args[truth(cond) ? 1 : 2], out);
        }
        if (n.name == QLatin1String("IFEMPTY")) {
            // The first value, or the second when the first is empty (evaluated once).
            if (!eval(*n.args[0], out))
                return false;
            return !isMissing(out) || eval(*n.args[1], out);
        }
        std::vector<QVariant> v(n.args.size());
        for (size_t i = 0; i < n.args.size(); ++i)
            if (!eval(*n.args[i], v[i]))
                return false;
        static const QLocale italian(QLocale::Italian, QLocale::Italy);
        if (n.name == QLatin1String("FORMATDATE")) {
            const QDate d = toDate(v[0]);
            if (isMissing(v[0])) {
                out = QString();
                return true;
            }
            if (!d.isValid())
                return fail(n, QStringLiteral("il valore \"%1\" non è una data").arg(displayText(v[0])));
            const QString format = v.size() > 1 ? displayText(v[1]) : QStringLiteral("dd/MM/yyyy");
            out = italian.toString(d, format);
            return true;
        }
        if (n.name == QLatin1String("FORMATNUMBER")) {
            QVariant num;
            if (!toNumber(v[0], num))
                return fail(n, QStringLiteral("il valore \"%1\" non è un numero").arg(displayText(v[0])));
            QVariant dec = qlonglong(0);
            if (v.size() > 1 && !toNumber(v[1], dec))
                return fail(n, QStringLiteral("numero di decimali non valido"));
            out = italian.toString(num.toDouble(), 'f', int(qBound(qlonglong(0), dec.toLongLong(), qlonglong(10))));
            return true;
        }
        const QString text = displayText(v[0]);
        if (n.name == QLatin1String("UPPER"))
            out = text.toUpper();
        else if (n.name == QLatin1String("LOWER"))
            out = text.toLower();
        else if (n.name == QLatin1String("TRIM"))
            out = text.trimmed();
        else if (n.name == QLatin1String("LEN"))
            out = qlonglong(text.size());
        else if (n.name == QLatin1String("STR"))
            out = text;
        else if (n.name == QLatin1String("SUBSTR")) {
            QVariant start, len = qlonglong(-1);
            if (!toNumber(v[1], start) || (v.size() > 2 && !toNumber(v[2], len)))
                return fail(n, QStringLiteral("SUBSTR vuole posizione e lunghezza numeriche"));
            const qlonglong from = qMax<qlonglong>(1, start.toLongLong()) - 1;
            out = from >= text.size() ? QString() : text.mid(int(from), int(len.toLongLong()));
        } else
            return fail(n, QStringLiteral("funzione sconosciuta: %1").arg(n.name));
        return true;
    }

    EvalContext& m_context;
    ExprError* m_error;
};

} // namespace

void forEachName(ExprNode& node, const std::function<void(ExprNode&)>& visit)
{
    if (node.kind == ExprNode::Kind::Name)
        visit(node);
    for (auto& a : node.args)
        forEachName(*a, visit);
}

bool usesPageNumbers(const ExprNode& node)
{
    if (node.kind == ExprNode::Kind::Name && (node.ref == NameRef::Pages || node.ref == NameRef::Page))
        return true;
    for (const auto& a : node.args)
        if (usesPageNumbers(*a))
            return true;
    return false;
}

bool evaluate(const ExprNode& node, EvalContext& context, QVariant& result, ExprError* error)
{
    Evaluator e(context, error);
    return e.eval(node, result);
}

QString displayText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qlonglong(d));
        return QString::number(d, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    }
    default:
        if (isIntegral(value))
            return QString::number(value.toLongLong());
        return value.toString();
    }
}

} // namespace zol::report
