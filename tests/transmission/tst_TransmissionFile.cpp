#include "ArchiveFixture.h"
#include "ScriptedInteraction.h"

#include "archive/Cp1252.h"
#include "transmission/TransmissionFile.h"
#include "transmission/TransmissionSources.h"
#include "transmission/TransmissionValidator.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace zol;
using namespace zol::test;

namespace {

const QString kCreatedPrefix = TransmissionText::kCreatedLine1 + QLatin1Char('\n');

// Passes bytes on to the file until a limit, then refuses them as a full disk would.
class FailingDevice : public QIODevice
{
public:
    FailingDevice(QIODevice* target, qint64 limit) : m_target(target), m_limit(limit) { open(WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        if (m_written + len > m_limit) {
            setErrorString(QStringLiteral("disco pieno"));
            return -1;
        }
        m_written += len;
        return m_target->write(data, len);
    }

private:
    QIODevice* m_target;
    qint64 m_limit;
    qint64 m_written = 0;
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QStringList linesOf(const QByteArray& bytes)
{
    QStringList out = Cp1252::decode(bytes).split(QStringLiteral("\r\n"));
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

// The file the views give when walked with the record functions on the data module: header,
// for each request its record and children, trailer.
QByteArray fileFromViews(Tdm& dm)
{
    QByteArray out;
    const auto add = [&](const QString& r) { out += Cp1252::encode(r) + "\r\n"; };
    add(RecordTesta(dm, QStringLiteral("0")));
    for (dm.ttRICHIESTE.first(); !dm.ttRICHIESTE.eof(); dm.ttRICHIESTE.next()) {
        add(RecordRichiesta(dm));
        const ChildKey key = childKeyOfCurrentRequest(dm);
        for (dm.ttBENEFICIARI.first(); !dm.ttBENEFICIARI.eof(); dm.ttBENEFICIARI.next())
            add(RecordBeneficiario(dm, key));
        for (dm.ttCATASTO.first(); !dm.ttCATASTO.eof(); dm.ttCATASTO.next())
            add(RecordCatasto(dm, key));
        for (dm.ttMDPROF.first(); !dm.ttMDPROF.eof(); dm.ttMDPROF.next())
            add(RecordProfessionista(dm, key));
        for (dm.ttMDIMPR.first(); !dm.ttMDIMPR.eof(); dm.ttMDIMPR.next())
            add(RecordImpresa(dm, key));
    }
    add(RecordTesta(dm, QStringLiteral("9")));
    return out;
}

} // namespace

class TestTransmissionFile : public QObject
{
    Q_OBJECT
private slots:
    void sevenLines();
    void sameAsTheViews();
    void otherRequestWithoutProfessional();
    void preliminaryChecks_data();
    void preliminaryChecks();
    void incompleteChild_data();
    void incompleteChild();
    void secondGenerationReplacesFirst();
    void failureHalfWayKeepsPreviousFile();
    void cannotWrite_data();
    void cannotWrite();
    void orphanLinksDeleted();
    void noRequests();
    void codiceFiscaleProblems_data();
    void codiceFiscaleProblems();
};

void TestTransmissionFile::sevenLines()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling(2007, 12, "45/2007");
    QVERIFY(a.show(filing));

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());

    const QString path = a.transmissionFolder() + "ZOL_2007_12.txt";
    QVERIFY(r.written);
    QCOMPARE(r.path, QDir::toNativeSeparators(path));
    const QByteArray bytes = a.readFile(path);
    QCOMPARE(bytes.size(), 7 * 370);
    for (int i = 0; i < 7; ++i)
        QCOMPARE(bytes.mid(i * 370 + 368, 2), QByteArray("\r\n"));
    QStringList types;
    for (const QString& line : linesOf(bytes))
        types << line.left(1);
    QCOMPARE(types, (QStringList{"0", "1", "2", "3", "3", "4", "9"}));
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TransmissionValidator v;
    QVERIFY(v.validate(&buffer));
    QVERIFY2(v.isValid(), qPrintable(v.problemLines().join('\n')));

    // The filing remembers the file and is in state "C"; the user is told and sees the folder.
    QCOMPARE(a.scalar("SELECT NOME_FILE FROM DENUNCE WHERE ID_DENUNCIA = ?", {filing}).toString(), r.path);
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE WHERE ID_DENUNCIA = ?", {filing}).toString(), QStringLiteral("C"));
    QCOMPARE(ui.texts(), QStringList{kCreatedPrefix + r.path + "\n" + TransmissionText::kCreatedLine3});
    QCOMPARE(ui.openedUrls, QList<QUrl>{QUrl::fromLocalFile(a.folder().path() + "Trasmissioni")});
    QCOMPARE(filesIn(a.transmissionFolder()), QStringList{"ZOL_2007_12.txt"});
    QCOMPARE(ui.busyDepth(), 0);
    QVERIFY(!ui.progressOpen());
    QCOMPARE(ui.progressCaptions, QStringList{TransmissionText::kProgressCaption});
    QCOMPARE(ui.progressValues.last(), 100);
}

void TestTransmissionFile::sameAsTheViews()
{
    // A filing with every kind of record: companies as applicant and beneficiary, a DIA, two
    // companies on one request, missing dates.
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling(2008, 3, "1/2008");
    const qlonglong firm = a.addCompany("01234567890", "IMMOBILIARE SANT'ANNA S.R.L.", "F205");
    const qlonglong r2 = a.addRequest(filing, firm, "2/2008", "2");
    a.addBeneficiary(r2, firm, "4");
    a.addBeneficiary(r2, a.addPerson("LI", "WEI", "M", QDate(2001, 3, 7), "Z210"), "1");
    a.addUnit(r2, "T", "1", "2");
    a.linkProfessional(r2, a.addProfessional("RSSMRA80A01H501U", 4), "1");
    const QVariant impresa = a.addImpresa("09876543210", "COSTRUZIONI NICCOLÒ & C.");
    a.linkImpresa(r2, impresa, a.comune("L219"));
    a.linkImpresa(r2, impresa, a.comune("H501"));
    const qlonglong r3 =
        a.addRequest(filing, a.addPerson("D'ANGELO", "ALESSANDRO", "M", QDate(1999, 12, 31), "A944"), "3/2008");
    a.addUnit(r3);
    QVERIFY(a.show(filing));

    const QByteArray expected = fileFromViews(a.dm());
    QVERIFY(a.show(filing));
    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QVERIFY(r.written);
    const QByteArray bytes = a.readFile(QDir::fromNativeSeparators(r.path));
    const QStringList got = linesOf(bytes), want = linesOf(expected);
    QCOMPARE(got.size(), 16);
    for (int i = 0; i < got.size(); ++i)
        QVERIFY2(got.at(i) == want.at(i),
                 qPrintable(QStringLiteral("line %1\n got: %2\nwant: %3").arg(i + 1).arg(got.at(i), want.value(i))));
    QCOMPARE(bytes, expected);
    TransmissionValidator v;
    QVERIFY(v.validateFile(QDir::fromNativeSeparators(r.path)));
    QVERIFY2(v.isValid(), qPrintable(v.problemLines().join('\n')));
}

void TestTransmissionFile::otherRequestWithoutProfessional()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    const qlonglong other =
        a.addRequest(filing, a.addPerson("VERDI", "LUCA", "M", QDate(1970, 5, 5), "H501"), "46/2007");
    a.addUnit(other);
    QVERIFY(a.show(filing)); // the current request is the complete one

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QVERIFY(r.written);
    QStringList types;
    for (const QString& line : linesOf(a.readFile(QDir::fromNativeSeparators(r.path))))
        types << line.left(1);
    QCOMPARE(types, (QStringList{"0", "1", "2", "3", "3", "4", "1", "3", "9"}));
}

void TestTransmissionFile::preliminaryChecks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no professional") << "DELETE FROM MDPROF"
                                     << QStringList{"Deve essere dichiarato almeno un Professionista"};
    QTest::newRow("no beneficiary") << "DELETE FROM BENEFICIARI"
                                    << QStringList{"Deve essere dichiarato almeno un Beneficiario"};
    QTest::newRow("no cadastral unit") << "DELETE FROM CATASTO"
                                       << QStringList{"Deve essere dichiarato almeno una unità Catastale"};
    QTest::newRow("no applicant") << "UPDATE RICHIESTE SET ID_RICHIEDENTE = NULL"
                                  << QStringList{"Dati richiedente mancanti"};
    QTest::newRow("ente: empty belfiore") << "belfiore=" << QStringList{"Codice belfiore del Comune non valido"};
    QTest::newRow("ente: belfiore of 3") << "belfiore=A00" << QStringList{"Codice belfiore del Comune non valido"};
    QTest::newRow("ente: denominazione of blanks")
        << "denominazione=   " << QStringList{"Denominazione Ente non valida"};
    QTest::newRow("ente: codice fiscale with a blank")
        << "cf=80012340285 " << QStringList{"Codice Fiscale Ente non valido"};
    QTest::newRow("everything missing, in order") << "all"
                                                  << QStringList{"Codice Fiscale Ente non valido",
                                                                 "Denominazione Ente non valida",
                                                                 "Codice belfiore del Comune non valido",
                                                                 "Dati richiedente mancanti",
                                                                 "Deve essere dichiarato almeno un Beneficiario",
                                                                 "Deve essere dichiarato almeno una unità Catastale",
                                                                 "Deve essere dichiarato almeno un Professionista"};
}

void TestTransmissionFile::preliminaryChecks()
{
    QFETCH(QString, change);
    QFETCH(QStringList, lines);
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    TEnteSettings& ente = a.dm().EnteSettings;
    if (change.startsWith("belfiore="))
        ente.BELFIORE = change.mid(9);
    else if (change.startsWith("denominazione="))
        ente.DENOMINAZIONE = change.mid(14);
    else if (change.startsWith("cf="))
        ente.CODICEFISCALE = change.mid(3);
    else if (change == "all") {
        ente = TEnteSettings();
        ente.DENOMINAZIONE.clear();
        for (const char* sql : {"DELETE FROM MDPROF", "DELETE FROM BENEFICIARI", "DELETE FROM CATASTO",
                                "UPDATE RICHIESTE SET ID_RICHIEDENTE = NULL"})
            QVERIFY(a.exec(sql) >= 0);
    } else {
        QVERIFY(a.exec(change) >= 0);
    }
    QVERIFY(a.show(filing));

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QVERIFY(!r.written);
    QCOMPARE(ui.texts(), (QStringList{TransmissionText::kProblemsHeading + "\n" + lines.join('\n') + "\n",
                                      TransmissionText::kCancelled}));
    // Nothing is left in the folder, and the filing is as it was.
    QCOMPARE(filesIn(a.transmissionFolder()), QStringList());
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("A"));
    QVERIFY(a.scalar("SELECT NOME_FILE FROM DENUNCE").isNull());
    QCOMPARE(ui.busyDepth(), 0);
}

void TestTransmissionFile::incompleteChild_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("messages");
    // The second request of the filing (protocol 46/2007) carries the fault; the first is complete.
    QTest::newRow("professional with a wrong check character")
        << "prof:BNCNNA75H45F205B"
        << QStringList{"Protocollo n.46/2007. Incompletezza dei dati relativi ad un professionista"};
    QTest::newRow("professional with 11 digits")
        << "prof:01234567890"
        << QStringList{"Protocollo n.46/2007. Incompletezza dei dati relativi ad un professionista"};
    QTest::newRow("professional not in the registry")
        << "profid:9999" << QStringList{"Protocollo n.46/2007. Incompletezza dei dati relativi ad un professionista"};
    QTest::newRow("beneficiary not in the registry")
        << "ben:9999"
        << QStringList{"Richiedente non trovato in archivio",
                       "Protocollo n.46/2007. Incompletezza dei dati relativi ad un beneficiario"};
    QTest::newRow("beneficiary without qualifica")
        << "benq:" << QStringList{"Protocollo n.46/2007. Incompletezza dei dati relativi ad un beneficiario"};
    QTest::newRow("unit without foglio") << "unit:"
                                         << QStringList{"Protocollo n.46/2007. Incompletezza di una voce delle unità "
                                                        "catastali"};
    QTest::newRow("company whose municipality was never chosen")
        << "firm:" << QStringList{"Protocollo n.46/2007. Incompletezza dei dati relativi ad una Impresa esecutrice"};
    QTest::newRow("applicant of no kind") << "applicant:" << QStringList{"Tipo richiedente non riconosciuto"};
}

void TestTransmissionFile::incompleteChild()
{
    QFETCH(QString, change);
    QFETCH(QStringList, messages);
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    const qlonglong applicant = a.addPerson("VERDI", "LUCA", "M", QDate(1970, 5, 5), "H501");
    const qlonglong r2 = a.addRequest(filing, applicant, "46/2007");
    const QString arg = change.section(':', 1);
    const QString what = change.section(':', 0, 0);
    if (what == "prof")
        a.linkProfessional(r2, a.addProfessional(arg));
    else if (what == "profid")
        a.linkProfessional(r2, arg.toLongLong());
    else if (what == "ben")
        a.addBeneficiary(r2, arg.toLongLong());
    else if (what == "benq")
        a.addBeneficiary(r2, applicant, arg);
    else if (what == "unit")
        a.addUnit(r2, "F", arg, "1");
    else if (what == "firm")
        a.linkImpresa(r2, a.addImpresa("01234567890", "EDILIZIA ROSSI"), 999999);
    else if (what == "applicant")
        a.exec("UPDATE RICHIEDENTI SET TIPO_RICHIEDENTE = NULL WHERE ID_RICHIEDENTE = ?", {applicant});
    QVERIFY(a.show(filing));

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QVERIFY(!r.written);
    QCOMPARE(ui.texts(), messages);
    QCOMPARE(filesIn(a.transmissionFolder()), QStringList());
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("A"));
    QCOMPARE(ui.busyDepth(), 0);
    QVERIFY(!ui.progressOpen());
}

void TestTransmissionFile::secondGenerationReplacesFirst()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    QVERIFY(a.show(filing));
    ScriptedInteraction ui;
    const TransmissionResult first = CreaFileTrasmissione(a.dm());
    QVERIFY(first.written);
    const QString path = QDir::fromNativeSeparators(first.path);
    QVERIFY(!a.readFile(path).contains("VIA GARIBALDI 7"));

    QVERIFY(a.exec("UPDATE RICHIESTE SET INDIRIZZO = 'VIA GARIBALDI 7'") >= 0);
    QVERIFY(a.show(filing));
    const TransmissionResult second = CreaFileTrasmissione(a.dm());
    QVERIFY(second.written);
    QCOMPARE(second.path, first.path);
    QVERIFY(a.readFile(path).contains("VIA GARIBALDI 7"));
    QCOMPARE(a.readFile(path).size(), 7 * 370);
    QCOMPARE(filesIn(a.transmissionFolder()), QStringList{"ZOL_2007_1.txt"});
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("C"));
}

void TestTransmissionFile::failureHalfWayKeepsPreviousFile()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    // Enough requests for the writer to hand a first block to the device before it fails.
    QVERIFY(a.exec("BEGIN") >= 0);
    for (int i = 0; i < 400; ++i) {
        const qlonglong r = a.addRequest(filing, a.addPerson("VERDI", "LUCA", "M", QDate(1970, 5, 5), "H501"),
                                         QStringLiteral("%1/2007").arg(100 + i));
        a.addUnit(r);
    }
    QVERIFY(a.exec("COMMIT") >= 0);
    QVERIFY(a.show(filing));
    ScriptedInteraction ui;
    const TransmissionResult good = CreaFileTrasmissione(a.dm());
    QVERIFY(good.written);
    const QString path = QDir::fromNativeSeparators(good.path);
    const QByteArray before = a.readFile(path);
    QCOMPARE(before.size(), (7 + 400 * 2) * 370);

    QVERIFY(a.exec("UPDATE DENUNCE SET STATO = 'A', NOME_FILE = 'altro.txt'") >= 0);
    QVERIFY(a.exec("UPDATE RICHIESTE SET INDIRIZZO = 'VIA NUOVA 1'") >= 0);
    QVERIFY(a.show(filing));
    ui.messages.clear();
    TransmissionOptions failing;
    failing.outputFilter = [](QIODevice* file) { return std::make_unique<FailingDevice>(file, 280000); };
    const TransmissionResult bad = CreaFileTrasmissione(a.dm(), failing);

    QVERIFY(!bad.written);
    QCOMPARE(ui.texts(), QStringList{TransmissionText::kWriteError});
    QCOMPARE(a.readFile(path), before);
    QCOMPARE(filesIn(a.transmissionFolder()), QStringList{"ZOL_2007_1.txt"});
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("A"));
    QCOMPARE(a.scalar("SELECT NOME_FILE FROM DENUNCE").toString(), QStringLiteral("altro.txt"));
    QCOMPARE(ui.busyDepth(), 0);
    QVERIFY(!ui.progressOpen());
}

void TestTransmissionFile::cannotWrite_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("message"); // the start of the one message shown
    QTest::newRow("folder name taken by a file") << "file"
                                                 << "Impossibile creare la cartella ";
    QTest::newRow("file name taken by a folder") << "folder"
                                                 << "Impossibile creare il file ";
    QTest::newRow("read-only folder") << "readonly"
                                      << "Impossibile creare il file ";
}

void TestTransmissionFile::cannotWrite()
{
    QFETCH(QString, obstacle);
    QFETCH(QString, message);
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    QVERIFY(a.show(filing));
    const QString folder = a.folder().path() + "Trasmissioni";
    QByteArray before;
    QFile dir(folder);
    const QFileDevice::Permissions was = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (obstacle == "file") {
        QFile f(folder);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    } else if (obstacle == "folder") {
        QVERIFY(QDir().mkpath(folder + "/ZOL_2007_1.txt"));
    } else {
        ScriptedInteraction first;
        QVERIFY(CreaFileTrasmissione(a.dm()).written);
        before = a.readFile(folder + "/ZOL_2007_1.txt");
        QVERIFY(dir.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(folder + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            dir.setPermissions(was);
            QSKIP("the folder stays writable for this user (administrator)");
        }
    }
    QVERIFY(a.exec("UPDATE DENUNCE SET STATO = 'A'") >= 0);
    QVERIFY(a.show(filing));

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    if (obstacle == "readonly")
        dir.setPermissions(was);
    QVERIFY(!r.written);
    QCOMPARE(ui.messages.size(), 1);
    QVERIFY2(ui.messages.first().text.startsWith(message), qPrintable(ui.messages.first().text));
    QCOMPARE(ui.messages.first().icon, Interaction::Icon::Error);
    QCOMPARE(a.scalar("SELECT STATO FROM DENUNCE").toString(), QStringLiteral("A"));
    if (obstacle == "folder")
        QCOMPARE(filesIn(folder), QStringList()); // no temporary left beside the folder in the way
    if (obstacle == "readonly") {
        QCOMPARE(a.readFile(folder + "/ZOL_2007_1.txt"), before);
        QCOMPARE(filesIn(folder), QStringList{"ZOL_2007_1.txt"});
    }
}

void TestTransmissionFile::orphanLinksDeleted()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    const qlonglong request = a.scalar("SELECT ID_RICHIESTA FROM RICHIESTE").toLongLong();
    a.addBeneficiary(request, QVariant());
    a.linkProfessional(request, QVariant());
    a.linkImpresa(request, QVariant(), a.comune("H501"));
    // Orphans of another filing go too: the clean-up works on the whole archive.
    const qlonglong otherFiling = a.addFiling(2006, 1, "T");
    const qlonglong otherRequest = a.addRequest(otherFiling, QVariant(), "1/2006");
    a.addBeneficiary(otherRequest, QVariant());
    a.linkImpresa(otherRequest, QVariant(), QVariant());
    QVERIFY(a.show(filing));
    QCOMPARE(a.dm().ttBENEFICIARI.rowCount(), 2);

    ScriptedInteraction ui;
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QVERIFY2(r.written, qPrintable(ui.texts().join('\n')));
    QCOMPARE(a.scalar("SELECT COUNT(*) FROM BENEFICIARI WHERE ID_RICHIEDENTE IS NULL").toInt(), 0);
    QCOMPARE(a.scalar("SELECT COUNT(*) FROM MDPROF WHERE ID_PROFESSIONISTA IS NULL").toInt(), 0);
    QCOMPARE(a.scalar("SELECT COUNT(*) FROM MDIMPR WHERE ID_IMPRESA IS NULL").toInt(), 0);
    QCOMPARE(a.scalar("SELECT COUNT(*) FROM BENEFICIARI").toInt(), 1);
    QCOMPARE(a.dm().ttBENEFICIARI.rowCount(), 1);
    QCOMPARE(a.readFile(QDir::fromNativeSeparators(r.path)).size(), 7 * 370);
}

void TestTransmissionFile::noRequests()
{
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.addFiling(2007, 1);
    QVERIFY(a.show(filing));
    ScriptedInteraction ui;
    QVERIFY(!CreaFileTrasmissione(a.dm()).written);
    QCOMPARE(ui.texts(), QStringList{TransmissionText::kNoRequests});
    QVERIFY(!QDir(a.transmissionFolder()).exists() || filesIn(a.transmissionFolder()).isEmpty());
}

void TestTransmissionFile::codiceFiscaleProblems_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("stop") << int(Interaction::No) << false;
    QTest::newRow("go on") << int(Interaction::Yes) << true;
}

void TestTransmissionFile::codiceFiscaleProblems()
{
    QFETCH(int, answer);
    QFETCH(bool, written);
    ArchiveFixture a;
    QVERIFY2(a.isValid(), qPrintable(a.errorString()));
    const qlonglong filing = a.completeFiling();
    a.addPerson("ROSSI", "MARIO", "M", QDate(1980, 1, 1), "H501", "rssmra80a01h501u");
    a.addBeneficiary(a.scalar("SELECT ID_RICHIESTA FROM RICHIESTE").toLongLong(), QVariant());
    QVERIFY(a.show(filing));

    ScriptedInteraction ui;
    ui.answer(Interaction::Ok); // the message before the list
    ui.answer(answer);
    const TransmissionResult r = CreaFileTrasmissione(a.dm());
    QCOMPARE(r.written, written);
    QCOMPARE(ui.messages.size(), written ? 3 : 2);
    const ScriptedInteraction::Message& q = ui.messages.at(1);
    QCOMPARE(q.title, QStringLiteral("Problemi rilevati"));
    QCOMPARE(q.text, QStringLiteral("Si vuole continuare lo stesso ?"));
    QCOMPARE(q.buttons, int(Interaction::Yes | Interaction::No));
    QCOMPARE(q.defaultButton, int(Interaction::No));
    QCOMPARE(ui.reportRowCounts, QList<int>{1});
    // The orphan link went before the check, whatever the answer.
    QCOMPARE(a.scalar("SELECT COUNT(*) FROM BENEFICIARI WHERE ID_RICHIEDENTE IS NULL").toInt(), 0);
    QCOMPARE(filesIn(a.transmissionFolder()).size(), written ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestTransmissionFile)
#include "tst_TransmissionFile.moc"
