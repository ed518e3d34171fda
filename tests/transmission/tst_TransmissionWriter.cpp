#include "transmission/TransmissionWriter.h"

#include <QBuffer>
#include <QTest>

using namespace zol;

namespace {

// Refuses every write, as a full disk does.
class RefusingDevice : public QIODevice
{
public:
    RefusingDevice() { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override
    {
        setErrorString(QStringLiteral("spazio esaurito sul disco"));
        return -1;
    }
};

QString record(const QString& body)
{
    return (body + QString(367, QLatin1Char(' '))).left(367) + QLatin1Char('A');
}

} // namespace

class TestTransmissionWriter : public QObject
{
    Q_OBJECT
private slots:
    void bytes_data();
    void bytes();
    void refusedDevice();
};

void TestTransmissionWriter::bytes_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QByteArray>("start"); // the first bytes written, or empty when refused
    QTest::addColumn<QString>("error");
    QTest::newRow("plain") << record("1ROSSI") << QByteArray("1ROSSI ") << QString();
    QTest::newRow("accented letters, one byte each")
        << record("1NICCOLÒ LIBERTÀ") << QByteArray("1NICCOL\xd2 LIBERT\xc0 ") << QString();
    QTest::newRow("euro and typographic quote from the 0x80 block")
        << record("1€ ’") << QByteArray("1\x80 \x92 ") << QString();
    QTest::newRow("character outside the code page")
        << record("1Ω") << QByteArray() << "Il record contiene il carattere \"Ω\", che non si può scrivere nel file.";
    QTest::newRow("short record") << QString("1ROSSI") << QByteArray() << "Record di 6 caratteri invece di 368.";
}

void TestTransmissionWriter::bytes()
{
    QFETCH(QString, record);
    QFETCH(QByteArray, start);
    QFETCH(QString, error);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    TransmissionWriter w(&buffer);
    const bool ok = w.writeRecord(record) && w.flush();
    QCOMPARE(ok, error.isEmpty());
    QCOMPARE(w.errorString(), error);
    if (!ok) {
        QCOMPARE(out, QByteArray());
        return;
    }
    QCOMPARE(out.size(), 370);
    QVERIFY(out.startsWith(start));
    QVERIFY(out.endsWith("A\r\n"));
}

void TestTransmissionWriter::refusedDevice()
{
    RefusingDevice device;
    TransmissionWriter w(&device);
    QVERIFY(w.writeRecord(record("0"))); // still in the buffer
    QVERIFY(!w.flush());
    QCOMPARE(w.errorString(), QStringLiteral("spazio esaurito sul disco"));
    QVERIFY(!w.writeRecord(record("9"))); // the first failure stays
}

QTEST_APPLESS_MAIN(TestTransmissionWriter)
#include "tst_TransmissionWriter.moc"
