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
    // Straight into the buffer, one byte per character.
    const qsizetype start = m_buffer.size();
    m_buffer.resize(start + Transmission::kRecordLength + 2);
    char* out = m_buffer.data() + start;
    for (const QChar c : record) {
        const int b = Cp1252::byteOf(c);
        if (b < 0) {
            m_buffer.truncate(start);
            return fail(QStringLiteral("Il record contiene il carattere \"%1\", che non si può scrivere nel file.")
                            .arg(Cp1252::firstUnencodable(record)));
        }
        *out++ = char(b);
    }
    *out++ = '\r';
    *out = '\n';
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
