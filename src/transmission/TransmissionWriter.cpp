#include "transmission/TransmissionWriter.h"

#include "archive/Cp1252.h"
#include "transmission/TransmissionRecords.h"

#include <QIODevice>

namespace zol {
namespace {
constexpr qsizetype kBlockSize = 256 * 1024;
}

TransmissionWriter::TransmissionWriter(QIODevice* device) : m_device(device)
{
    m_buffer.reserve(kBlockSize + Transmission::kRecordLength + 2);
}

bool TransmissionWriter::fail(const QString& why)
{
    if (m_error.isEmpty())
        m_error = why;
    return false;
}

bool TransmissionWriter::writeRecord(const QString& record)
{
    if (!m_error.isEmpty())
        return false;
    if (record.size() != Transmission::kRecordLength)
        return fail(
            QStringLiteral("Record di %1 caratteri invece di %2.").arg(record.size()).arg(Transmission::kRecordLength));
    bool ok = true;
    const QByteArray bytes = Cp1252::encode(record, &ok);
    if (!ok)
        return fail(QStringLiteral("Il record contiene il carattere \"%1\", che non si può scrivere nel file.")
                        .arg(Cp1252::firstUnencodable(record)));
    m_buffer += bytes;
    m_buffer += "\r\n";
    ++m_records;
    return m_buffer.size() < kBlockSize || flush();
}

bool TransmissionWriter::flush()
{
    if (!m_error.isEmpty())
        return false;
    qsizetype done = 0;
    while (done < m_buffer.size()) {
        const qint64 n = m_device->write(m_buffer.constData() + done, m_buffer.size() - done);
        if (n <= 0)
            return fail(m_device->errorString().isEmpty() ? QStringLiteral("Scrittura non riuscita.")
                                                          : m_device->errorString());
        done += n;
    }
    m_buffer.clear();
    return true;
}

} // namespace zol
