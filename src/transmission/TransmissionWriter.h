#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace zol {

// Writes transmission records onto a device: each record in Windows-1252, one byte per
// character, followed by CR LF. Records are gathered in a buffer and written in large blocks.
// The first failure is kept: every later call then fails too, and errorString() tells why.
class TransmissionWriter
{
public:
    explicit TransmissionWriter(QIODevice* device);

    // False for a record that is not 368 characters or holds a character without a byte in
    // Windows-1252, and when the device refuses the bytes.
    bool writeRecord(const QString& record);
    // Writes what is still in the buffer.
    bool flush();

    qint64 recordsWritten() const { return m_records; }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString& why);

    QIODevice* m_device;
    QByteArray m_buffer;
    qint64 m_records = 0;
    QString m_error;
};

} // namespace zol
