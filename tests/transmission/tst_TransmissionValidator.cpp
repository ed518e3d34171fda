#include "archive/Cp1252.h"
#include "transmission/TransmissionRecords.h"
#include "transmission/TransmissionValidator.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zol;

namespace {

// A complete, valid file: header, one request with a beneficiary, two units, a professional
// and a company, a second request with only a unit, trailer.
QStringList validRecords()
{
    TEnteSettings ente;
    ente.CODICEFISCALE = QStringLiteral("80012340285");
    ente.DENOMINAZIONE = QStringLiteral("COMUNE DI ABANO TERME");
    ente.BELFIORE = QStringLiteral("A001");

    SoggettoData applicant{"P", "RSSMRA80A01H501U", "ROSSI", "MARIO", "M", QDate(1980, 1, 1), "H501", "", ""};
    SoggettoData beneficiary{"A", "01234567890", "", "", "", QDate(), "", "SOCIETÀ IMMOBILIARE S.R.L.", "F205"};
    RichiestaData request{"1", "1", "3", "45/2007", "0", QDate(2007, 2, 1), QDate(2007, 3, 1), QDate(), "VIA ROMA 1"};
    const ChildKey key{applicant.cf, request.numeroProtocollo};
    ProfessionistaData prof{"BNCNNA75H45F205A", qlonglong(2), "MI", "1234"};
    ImpresaData firm{"01234567890", "COSTRUZIONI ROSSI S.N.C."};
    RichiestaData dia = request;
    dia.tipoRec = QStringLiteral("2");
    dia.numeroProtocollo = QStringLiteral("46/2007");
    const ChildKey key2{applicant.cf, dia.numeroProtocollo};

    return {RecordTesta("0", ente, 2007),
            RecordRichiesta(request, &applicant),
            RecordBeneficiario(key, &beneficiary, "2"),
            RecordCatasto(key, CatastoData{"F", "", "12", "345", "", "", "3"}),
            RecordCatasto(key, CatastoData{"T", "A", "13", "346", "", "F", ""}),
            RecordProfessionista(key, &prof, "2"),
            RecordImpresa(key, &firm, true, "F205"),
            RecordRichiesta(dia, &applicant),
            RecordCatasto(key2, CatastoData{"F", "", "1", "2", "", "", ""}),
            RecordTesta("9", ente, 2007)};
}

QByteArray fileOf(const QStringList& records)
{
    QByteArray out;
    for (const QString& r : records)
        out += Cp1252::encode(r) + "\r\n";
    return out;
}

QString replaced(QString record, int pos, const QString& text)
{
    return record.replace(pos - 1, text.size(), text);
}

TransmissionValidator validated(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TransmissionValidator v;
    v.validate(&buffer);
    return v;
}

} // namespace

class TestTransmissionValidator : public QObject
{
    Q_OBJECT
private slots:
    void validFile();
    void problems_data();
    void problems();
    void command_data();
    void command();
};

void TestTransmissionValidator::validFile()
{
    const TransmissionValidator v = validated(fileOf(validRecords()));
    QVERIFY2(v.isValid(), qPrintable(v.problemLines().join('\n')));
    QCOMPARE(v.summary(), QStringLiteral("File valido: 10 righe; 2 richieste, 1 beneficiari, 3 unità catastali, "
                                         "1 professionisti, 1 imprese."));
}

void TestTransmissionValidator::problems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected"); // the lines of problems, in file order

    const QStringList ok = validRecords();
    QStringList r;

    r = ok;
    r[3] += QLatin1Char(' ');
    QTest::newRow("line of 369 characters")
        << fileOf(r) << QStringList{"riga 4, posizioni 1-369: il record è lungo 369 caratteri invece di 368"};
    r = ok;
    r.swapItemsAt(1, 2);
    QTest::newRow("child record before its request")
        << fileOf(r) << QStringList{"riga 2, posizioni 1-1: record di tipo 2 (beneficiario) prima della sua richiesta"};
    r = ok;
    r.swapItemsAt(4, 5);
    QTest::newRow("cadastral unit after the professional")
        << fileOf(r)
        << QStringList{"riga 6, posizioni 1-1: record di tipo 3 (unità catastale) dopo un record di tipo 4: l'ordine è "
                       "2, 3, 4, 5"};
    r = ok;
    r[5] = replaced(r[5], 368, "B");
    QTest::newRow("wrong A") << fileOf(r)
                             << QStringList{"riga 6, posizioni 368-368: deve contenere \"A\" invece di \"B\""};
    r = ok;
    r[1] = replaced(r[1], 170, "30022007");
    QTest::newRow("bad date")
        << fileOf(r)
        << QStringList{
               "riga 2, posizioni 170-177: data di presentazione \"30022007\" non è una data ggmmaaaa né otto spazi"};
    r = ok;
    r[1] = replaced(r[1], 70, "0101198A");
    QTest::newRow("birth date with a letter")
        << fileOf(r)
        << QStringList{"riga 2, posizioni 70-77: data di nascita \"0101198A\" non è una data ggmmaaaa né otto spazi"};
    r = ok;
    r[5] = replaced(r[5], 53, "B");
    QTest::newRow("professional wrong check character")
        << fileOf(r)
        << QStringList{"riga 6, posizioni 38-53: codice fiscale del professionista non valido \"BNCNNA75H45F205B\""};
    r = ok;
    r[9] = replaced(r[9], 156, "8");
    QTest::newRow("trailer differs from header")
        << fileOf(r)
        << QStringList{"riga 10, posizioni 156-156: il record di coda deve essere uguale al record di testa"};
    r = ok;
    r[0] = replaced(r[0], 2, "ZOLXX28");
    r[9] = replaced(r[9], 2, "ZOLXX28");
    QByteArray twice = fileOf(r);
    QTest::newRow("fixed code, on header and trailer")
        << twice
        << QStringList{"riga 1, posizioni 2-8: il codice fisso deve essere \"ZOLXX29\" invece di \"ZOLXX28\"",
                       "riga 10, posizioni 2-8: il codice fisso deve essere \"ZOLXX29\" invece di \"ZOLXX28\""};
    r = ok;
    r[7] = replaced(r[7], 178, "01032007");
    QTest::newRow("DIA with a start date") << fileOf(r)
                                           << QStringList{"riga 8, posizioni 178-185: una Denuncia di Inizio Attività "
                                                          "non ha data di inizio lavori: devono esserci "
                                                          "spazi"};
    r = ok;
    r[3] = replaced(r[3], 38, "X");
    QTest::newRow("coded position outside its list")
        << fileOf(r) << QStringList{"riga 4, posizioni 38-38: tipo di unità: \"X\" non è uno dei codici \"F\", \"T\""};
    r = ok;
    r[6] = replaced(r[6], 18, "45/2008");
    QTest::newRow("child with another protocol")
        << fileOf(r)
        << QStringList{"riga 7, posizioni 18-37: il numero di protocollo \"45/2008\" non è quello della sua richiesta "
                       "\"45/2007\""};
    r = ok;
    r[2] = replaced(r[2], 200, "X");
    QTest::newRow("text where blanks belong")
        << fileOf(r) << QStringList{"riga 3, posizioni 183-367: devono esserci solo spazi"};
    QByteArray lf = fileOf(ok);
    lf.remove(370 * 2 + 368, 1); // the CR of line 3
    QTest::newRow("line ending LF only")
        << lf << QStringList{"riga 3, posizioni 369-369: la riga termina con LF invece che con CR LF"};
    QByteArray noTrailer = fileOf(ok.mid(0, 9));
    QTest::newRow("no trailer") << noTrailer << QStringList{"riga 10, posizioni 1-1: manca il record di coda (tipo 9)"};
    QByteArray after = fileOf(ok) + fileOf({ok.at(3)});
    QTest::newRow("record after the trailer")
        << after << QStringList{"riga 11, posizioni 1-1: record dopo il record di coda"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"riga 1, posizioni 1-368: il file è vuoto"};
}

void TestTransmissionValidator::problems()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    const TransmissionValidator v = validated(bytes);
    QCOMPARE(v.problemLines(), expected);
}

void TestTransmissionValidator::command_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("valid") << fileOf(validRecords()) << 0
                           << "File valido: 10 righe; 2 richieste, 1 beneficiari, 3 unità catastali, 1 professionisti, "
                              "1 imprese.\n";
    QStringList r = validRecords();
    r[5] = replaced(r[5], 368, " ");
    r[3] += QLatin1Char(' ');
    QTest::newRow("two problems") << fileOf(r) << 1
                                  << "riga 4, posizioni 1-369: il record è lungo 369 caratteri invece di 368\n"
                                     "riga 6, posizioni 368-368: deve contenere \"A\" invece di \" \"\n";
}

void TestTransmissionValidator::command()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir dir;
    QFile f(dir.filePath("ZOL_2007_1.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QProcess p;
    p.start(QStringLiteral(ZOLCTL_PATH), {"validate", f.fileName()});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), output);
    QCOMPARE(p.exitCode(), exitCode);
}

QTEST_GUILESS_MAIN(TestTransmissionValidator)
#include "tst_TransmissionValidator.moc"
