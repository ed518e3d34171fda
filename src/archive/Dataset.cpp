#include "archive/Dataset.h"

#include "archive/Cp1252.h"

#include <QDate>

namespace zol {

QString fieldTooLongMessage(const QString& field, int width, int length)
{
    return QStringLiteral("Il campo %1 accetta al massimo %2 caratteri (ne sono stati inseriti %3): "
                          "il dato non è stato salvato.")
        .arg(field)
        .arg(width)
        .arg(length);
}

QString fieldBadCharMessage(const QString& field, const QString& character)
{
    return QStringLiteral("Il campo %1 contiene il carattere \"%2\", che l'archivio non può conservare: "
                          "il dato non è stato salvato.")
        .arg(field, character);
}

Dataset::Dataset(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

int Dataset::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList Dataset::fieldNames() const
{
    QStringList out;
    for (const Field& f : m_fields)
        out << f.name;
    return out;
}

void Dataset::setFields(const QList<Field>& fields)
{
    m_fields = fields;
}

void Dataset::setRows(QList<Row> rows, int current)
{
    m_rows = std::move(rows);
    m_current = m_rows.isEmpty() ? -1 : qBound(0, current, int(m_rows.size()) - 1);
    m_eof = m_bof = m_rows.isEmpty();
    emit rowsReset();
    emit currentChanged();
}

void Dataset::setState(State s)
{
    if (m_state != s) {
        m_state = s;
        emit stateChanged();
    }
}

void Dataset::first()
{
    if (isEditing() && !post())
        return; // the row being edited stays current until it is corrected or cancelled
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_eof = m_rows.isEmpty();
    m_bof = true;
    emit currentChanged();
}

void Dataset::last()
{
    if (isEditing() && !post())
        return;
    m_current = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    emit currentChanged();
}

void Dataset::next()
{
    if (isEditing() && !post())
        return;
    m_bof = false;
    if (m_current + 1 < m_rows.size()) {
        ++m_current;
        emit currentChanged();
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    if (isEditing() && !post())
        return;
    m_eof = false;
    if (m_current > 0) {
        --m_current;
        emit currentChanged();
    } else {
        m_bof = true;
    }
}

bool Dataset::moveTo(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    if (isEditing() && !post())
        return false;
    m_eof = m_bof = false;
    if (row != m_current) {
        m_current = row;
        emit currentChanged();
    }
    return true;
}

QVariant Dataset::value(const QString& field) const
{
    const int f = fieldIndex(field);
    if (f < 0 || m_current < 0)
        return {};
    if (isEditing()) {
        if (m_fields.at(f).derived)
            return derivedValue(m_buffer, f);
        return m_buffer.value(f);
    }
    return valueAt(m_current, f);
}

QVariant Dataset::valueAt(int row, int field) const
{
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= m_fields.size())
        return {};
    const Row& r = (isEditing() && row == m_current) ? m_buffer : m_rows.at(row);
    if (m_fields.at(field).derived)
        return derivedValue(r, field);
    return r.value(field);
}

QVariant Dataset::derivedValue(const Row&, int) const
{
    return {};
}

bool Dataset::checkValue(const Field& f, const QVariant& v, QVariant* normalised)
{
    if (!v.isValid() || v.isNull()) {
        *normalised = QVariant();
        return true;
    }
    switch (f.type) {
    case ColumnType::Text: {
        const QString s = v.toString();
        if (s.isEmpty()) {
            *normalised = QVariant();
            return true;
        }
        const QString bad = Cp1252::firstUnencodable(s);
        if (!bad.isEmpty()) {
            setError(fieldBadCharMessage(f.name, bad));
            return false;
        }
        if (f.width > 0 && s.size() > f.width) {
            setError(fieldTooLongMessage(f.name, f.width, int(s.size())));
            return false;
        }
        *normalised = s;
        return true;
    }
    case ColumnType::Date: {
        QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
        if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        if (!d.isValid()) {
            if (v.toString().trimmed().isEmpty()) {
                *normalised = QVariant();
                return true;
            }
            setError(QStringLiteral("Il campo %1 richiede una data valida.").arg(f.name));
            return false;
        }
        *normalised = d;
        return true;
    }
    case ColumnType::AutoInc:
    case ColumnType::Integer:
    case ColumnType::SmallInt: {
        if (v.typeId() == QMetaType::QString && v.toString().trimmed().isEmpty()) {
            *normalised = QVariant();
            return true;
        }
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        const qlonglong lo = f.type == ColumnType::SmallInt ? -32768 : -2147483648LL;
        const qlonglong hi = f.type == ColumnType::SmallInt ? 32767 : 2147483647LL;
        if (!ok || n < lo || n > hi) {
            setError(QStringLiteral("Il campo %1 richiede un numero intero tra %2 e %3.").arg(f.name).arg(lo).arg(hi));
            return false;
        }
        *normalised = n;
        return true;
    }
    }
    return false;
}

bool Dataset::setValue(const QString& field, const QVariant& value)
{
    const int f = fieldIndex(field);
    if (f < 0) {
        setError(QStringLiteral("Il campo %1 non esiste in %2.").arg(field, name()));
        return false;
    }
    if (!isEditing()) {
        setError(QStringLiteral("%1 non è in modifica.").arg(name()));
        return false;
    }
    if (m_fields.at(f).derived) {
        setError(QStringLiteral("Il campo %1 è calcolato e non si può modificare.").arg(field));
        return false;
    }
    // Values are kept as given; post() checks them all, so that a refused value stores nothing.
    m_buffer[f] = value;
    emit rowChanged(m_current);
    return true;
}

bool Dataset::append()
{
    if (!isActive()) {
        setError(QStringLiteral("%1 non è aperta.").arg(name()));
        return false;
    }
    if (isEditing() && !post())
        return false;
    m_buffer = Row(m_fields.size());
    initNewRow(m_buffer);
    m_original = m_buffer;
    m_rows.append(m_buffer);
    m_current = int(m_rows.size()) - 1;
    m_eof = m_bof = false;
    setState(State::Insert);
    emit rowInserted(m_current);
    emit currentChanged();
    if (afterInsert)
        afterInsert(*this);
    return true;
}

bool Dataset::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return true;
    if (m_current < 0) {
        setError(QStringLiteral("%1 non ha righe da modificare.").arg(name()));
        return false;
    }
    m_original = m_rows.at(m_current);
    m_buffer = m_original;
    setState(State::Edit);
    return true;
}

bool Dataset::post()
{
    if (!isEditing())
        return true;
    m_error.clear();
    Row checked = m_buffer;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).derived)
            continue;
        QVariant n;
        if (!checkValue(m_fields.at(i), m_buffer.value(i), &n))
            return false;
        checked[i] = n;
    }
    const bool ok = m_state == State::Insert ? insertRow(checked) : updateRow(m_original, checked);
    if (!ok)
        return false;
    m_rows[m_current] = checked;
    m_buffer.clear();
    m_original.clear();
    setState(State::Browse);
    emit rowChanged(m_current);
    emit currentChanged();
    return true;
}

void Dataset::cancel()
{
    if (m_state == State::Insert) {
        const int row = m_current;
        m_rows.removeAt(row);
        setState(State::Browse);
        emit rowRemoved(row);
        m_current = qMin(row, int(m_rows.size()) - 1);
        m_eof = m_bof = m_rows.isEmpty();
        emit currentChanged();
    } else if (m_state == State::Edit) {
        setState(State::Browse);
        emit rowChanged(m_current);
        emit currentChanged();
    }
    m_buffer.clear();
    m_original.clear();
}

bool Dataset::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    if (m_current < 0) {
        setError(QStringLiteral("%1 non ha righe da eliminare.").arg(name()));
        return false;
    }
    if (m_state == State::Edit)
        cancel();
    if (!deleteRow(m_rows.at(m_current)))
        return false;
    const int row = m_current;
    m_rows.removeAt(row);
    emit rowRemoved(row);
    m_current = qMin(row, int(m_rows.size()) - 1);
    m_eof = m_bof = m_rows.isEmpty();
    emit currentChanged();
    return true;
}

bool Dataset::locate(const QString& field, const QVariant& value)
{
    const int f = fieldIndex(field);
    if (f < 0)
        return false;
    const bool isText = value.typeId() == QMetaType::QString;
    for (int i = 0; i < m_rows.size(); ++i) {
        const QVariant v = valueAt(i, f);
        const bool match = isText ? v.toString().compare(value.toString(), Qt::CaseInsensitive) == 0
                                  : (v.isNull() ? value.isNull() : v == value || v.toString() == value.toString());
        if (match)
            return moveTo(i);
    }
    return false;
}

void Dataset::close()
{
    if (isEditing())
        cancel();
    m_rows.clear();
    m_current = -1;
    m_eof = m_bof = true;
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged();
}

} // namespace zol
