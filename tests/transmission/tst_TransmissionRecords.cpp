#include "transmission/TransmissionRecords.h"

#include <QTest>

#include <initializer_list>
#include <utility>

using namespace zol;

namespace {

// A record as the layout describes it: texts at absolute positions (counted from 1) over 367
// blanks, and "A" at 368. Independent of how the builders concatenate their fields.
QString layout(std::initializer_list<std::pair<int, QString>> fields)
{
    QString r(368, QLatin1Char(' '));
    r[367] = QLatin1Char('A');
    for (const auto& [pos, text] : fields)
        r.replace(pos - 1, text.size(), text);
    return r;
}

SoggettoData person()
{
    SoggettoData p;
    p.tipo = QStringLiteral("P");
    p.cf = QStringLiteral("RSSGUO01C47Z210E");
    p.cognome = QStringLiteral("ROSSI");
    p.nome = QStringLiteral("UGO");
    p.sesso = QStringLiteral("F");
    p.dnascita = QDate(2001, 3, 7);
    p.codiceComune = QStringLiteral("Z210");
    return p;
}

SoggettoData company()
{
    SoggettoData c;
    c.tipo = QStringLiteral("A");
    c.cf = QStringLiteral("01234567890");
    c.denominazione = QStringLiteral("EDILIZIA SANT'ANTONIO DI FERRARI & FIGLI S.R.L. 50"); // 50 characters
    c.codiceComuneAz = QStringLiteral("H501");
    // Person fields left over from an earlier kind must not reach a company block.
    c.cognome = QStringLiteral("IGNORATO");
    c.dnascita = QDate(1970, 1, 1);
    c.codiceComune = QStringLiteral("F205");
    return c;
}

RichiestaData request()
{
    RichiestaData r;
    r.tipoRec = QStringLiteral("1");
    r.qualificaRichiedente = QStringLiteral("4");
    r.tipologiaIntervento = QStringLiteral("7");
    r.numeroProtocollo = QStringLiteral("45/2007A"); // eight characters
    r.tipologiaRichiesta = QStringLiteral("0");
    r.dataPresentazione = QDate(2007, 2, 1);
    r.dataInizio = QDate(2007, 3, 15);
    r.dataFine = QDate(2008, 12, 31);
    r.indirizzo = QStringLiteral("VIA GARIBALDI 12");
    return r;
}

const ChildKey kKey{QStringLiteral("RSSGUO01C47Z210E"), QStringLiteral("45/2007A")};

TEnteSettings ente()
{
    TEnteSettings e;
    e.CODICEFISCALE = QStringLiteral("80012340285");
    e.DENOMINAZIONE = QStringLiteral("COMUNE DI ABANO TERME");
    e.BELFIORE = QStringLiteral("A001");
    return e;
}

} // namespace

class TestTransmissionRecords : public QObject
{
    Q_OBJECT
private slots:
    void records_data();
    void records();
    void fieldRules_data();
    void fieldRules();
    void emptyRecords_data();
    void emptyRecords();
    void completeness_data();
    void completeness();
};

void TestTransmissionRecords::records_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");

    const SoggettoData p = person();
    const SoggettoData c = company();

    QTest::newRow("header of 2007") << RecordTesta("0", ente(), 2007)
                                    << layout({{1, "0"},
                                               {2, "ZOLXX29"},
                                               {9, "80012340285"},
                                               {89, "COMUNE DI ABANO TERME"},
                                               {149, "A001"},
                                               {153, "2007"}});
    QTest::newRow("trailer differs only in position 1") << RecordTesta("9", ente(), 2007)
                                                        << layout({{1, "9"},
                                                                   {2, "ZOLXX29"},
                                                                   {9, "80012340285"},
                                                                   {89, "COMUNE DI ABANO TERME"},
                                                                   {149, "A001"},
                                                                   {153, "2007"}});
    QTest::newRow("header year with leading zeros") << RecordTesta("0", ente(), 207)
                                                    << layout({{1, "0"},
                                                               {2, "ZOLXX29"},
                                                               {9, "80012340285"},
                                                               {89, "COMUNE DI ABANO TERME"},
                                                               {149, "A001"},
                                                               {153, "0207"}});

    QTest::newRow("request of a person, permesso with start date") << RecordRichiesta(request(), &p)
                                                                   << layout({{1, "1"},
                                                                              {2, "RSSGUO01C47Z210E"},
                                                                              {18, "ROSSI"},
                                                                              {44, "UGO"},
                                                                              {69, "F"},
                                                                              {70, "07032001"},
                                                                              {78, "Z210"},
                                                                              {146, "4"},
                                                                              {147, "0"},
                                                                              {148, "7"},
                                                                              {149, "45/2007A"},
                                                                              {169, "0"},
                                                                              {170, "01022007"},
                                                                              {178, "15032007"},
                                                                              {186, "31122008"},
                                                                              {194, "VIA GARIBALDI 12"}});

    RichiestaData dia = request();
    dia.tipoRec = QStringLiteral("2");
    QTest::newRow("request of a company, DIA without start date")
        << RecordRichiesta(dia, &c)
        << layout({{1, "1"},
                   {2, "01234567890"},
                   {82, "EDILIZIA SANT'ANTONIO DI FERRARI & FIGLI S.R.L. 50"},
                   {142, "H501"},
                   {146, "4"},
                   {147, "1"},
                   {148, "7"},
                   {149, "45/2007A"},
                   {169, "0"},
                   {170, "01022007"},
                   {186, "31122008"},
                   {194, "VIA GARIBALDI 12"}});

    RichiestaData sparse;
    sparse.tipoRec = QStringLiteral("1");
    SoggettoData bare = person();
    bare.dnascita = QDate();
    bare.codiceComune.clear();
    QTest::newRow("request with missing values gives blanks")
        << RecordRichiesta(sparse, &bare)
        << layout({{1, "1"}, {2, "RSSGUO01C47Z210E"}, {18, "ROSSI"}, {44, "UGO"}, {69, "F"}, {147, "0"}});

    QTest::newRow("beneficiary person") << RecordBeneficiario(kKey, &p, "2")
                                        << layout({{1, "2"},
                                                   {2, "RSSGUO01C47Z210E"},
                                                   {18, "45/2007A"},
                                                   {38, "RSSGUO01C47Z210E"},
                                                   {54, "ROSSI"},
                                                   {80, "UGO"},
                                                   {105, "F"},
                                                   {106, "07032001"},
                                                   {114, "Z210"},
                                                   {182, "2"}});
    QTest::newRow("beneficiary company") << RecordBeneficiario(kKey, &c, "1")
                                         << layout({{1, "2"},
                                                    {2, "RSSGUO01C47Z210E"},
                                                    {18, "45/2007A"},
                                                    {38, "01234567890"},
                                                    {118, "EDILIZIA SANT'ANTONIO DI FERRARI & FIGLI S.R.L. 50"},
                                                    {178, "H501"},
                                                    {182, "1"}});

    CatastoData unit{"F", "A", "12", "3456", "7", "E", "89"};
    QTest::newRow("cadastral unit") << RecordCatasto(kKey, unit)
                                    << layout({{1, "3"},
                                               {2, "RSSGUO01C47Z210E"},
                                               {18, "45/2007A"},
                                               {38, "F"},
                                               {39, "A"},
                                               {42, "12"},
                                               {47, "3456"},
                                               {52, "7"},
                                               {56, "E"},
                                               {57, "89"}});
    CatastoData longUnit{"T", "ABCD", "123456", "1234567", "ABCDE", "FX", "123456"};
    QTest::newRow("cadastral values cut on the right") << RecordCatasto(kKey, longUnit)
                                                       << layout({{1, "3"},
                                                                  {2, "RSSGUO01C47Z210E"},
                                                                  {18, "45/2007A"},
                                                                  {38, "T"},
                                                                  {39, "ABC"},
                                                                  {42, "12345"},
                                                                  {47, "12345"},
                                                                  {52, "ABCD"},
                                                                  {56, "F"},
                                                                  {57, "1234"}});

    ProfessionistaData prof{
        "BNCNNA75H45F205A",
        qlonglong(2),
        "MI",
        "A-12345",
    };
    QTest::newRow("professional") << RecordProfessionista(kKey, &prof, "2")
                                  << layout({{1, "4"},
                                             {2, "RSSGUO01C47Z210E"},
                                             {18, "45/2007A"},
                                             {38, "BNCNNA75H45F205A"},
                                             {54, "2"},
                                             {55, "MI"},
                                             {57, "A-12345"},
                                             {67, "2"}});
    ProfessionistaData noAlbo{"BNCNNA75H45F205A", QVariant(), "", ""};
    QTest::newRow("professional without register")
        << RecordProfessionista(kKey, &noAlbo, "0")
        << layout({{1, "4"}, {2, "RSSGUO01C47Z210E"}, {18, "45/2007A"}, {38, "BNCNNA75H45F205A"}, {67, "0"}});

    ImpresaData firm{"01234567890", "COSTRUZIONI ROSSI S.N.C."};
    QTest::newRow("company") << RecordImpresa(kKey, &firm, true, "F205")
                             << layout({{1, "5"},
                                        {2, "RSSGUO01C47Z210E"},
                                        {18, "45/2007A"},
                                        {38, "01234567890"},
                                        {49, "COSTRUZIONI ROSSI S.N.C."},
                                        {99, "F205"}});
    QTest::newRow("company with a municipality without code") << RecordImpresa(kKey, &firm, true, QString())
                                                              << layout({{1, "5"},
                                                                         {2, "RSSGUO01C47Z210E"},
                                                                         {18, "45/2007A"},
                                                                         {38, "01234567890"},
                                                                         {49, "COSTRUZIONI ROSSI S.N.C."}});
    const ChildKey longKey{QStringLiteral("RSSGUO01C47Z210EXX"), QStringLiteral("123456789012345678901234")};
    QTest::newRow("child key cut to its widths")
        << RecordCatasto(longKey, CatastoData{"F", "", "1", "2", "", "", ""})
        << layout({{1, "3"}, {2, "RSSGUO01C47Z210E"}, {18, "12345678901234567890"}, {38, "F"}, {42, "1"}, {47, "2"}});
}

void TestTransmissionRecords::records()
{
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built.size(), 368);
    for (int i = 0; i < 368; ++i) {
        if (built.at(i) != expected.at(i))
            QFAIL(qPrintable(QStringLiteral("position %1: got '%2', expected '%3'\n got: %4\nwant: %5")
                                 .arg(i + 1)
                                 .arg(built.at(i))
                                 .arg(expected.at(i))
                                 .arg(built.trimmed(), expected.trimmed())));
    }
}

void TestTransmissionRecords::fieldRules_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short value filled with blanks") << Allinea(QStringLiteral("UGO"), 25) << "UGO" + QString(22, ' ');
    QTest::newRow("long value cut on the right") << Allinea(QStringLiteral("ABCDEFGHIJ"), 4) << "ABCD";
    QTest::newRow("empty value gives blanks") << Allinea(QString(), 3) << "   ";
    QTest::newRow("null value gives blanks") << Allinea(QVariant(), 2) << "  ";
    QTest::newRow("whole number") << Allinea(QVariant(qlonglong(3)), 2) << "3 ";
    QTest::newRow("leading blanks kept") << Allinea(QStringLiteral(" 12"), 4) << " 12 ";
    QTest::newRow("accented letters kept") << Allinea(QStringLiteral("LIBERTÀ"), 8) << "LIBERTÀ ";
    QTest::newRow("line break becomes a blank") << Allinea(QStringLiteral("VIA\r\nROMA"), 10) << "VIA  ROMA ";
    QTest::newRow("date") << FormattaData(QDate(2008, 2, 1)) << "01022008";
    QTest::newRow("date with four-digit year") << FormattaData(QDate(1905, 11, 30)) << "30111905";
    QTest::newRow("day after zero") << FormattaData(QDate(1899, 12, 31)) << "31121899";
    QTest::newRow("zero date") << FormattaData(QDate(1899, 12, 30)) << "        ";
    QTest::newRow("earlier date") << FormattaData(QDate(1800, 1, 1)) << "        ";
    QTest::newRow("missing date") << FormattaData(QDate()) << "        ";
    QTest::newRow("null variant date") << FormattaData(QVariant()) << "        ";
    QTest::newRow("variant date") << FormattaData(QVariant(QDate(2007, 12, 31))) << "31122007";
}

void TestTransmissionRecords::fieldRules()
{
    QFETCH(QString, got);
    QFETCH(QString, expected);
    QCOMPARE(got, expected);
}

void TestTransmissionRecords::emptyRecords_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("expectedProblem");

    QString problem;
    SoggettoData unknown = person();
    unknown.tipo.clear();
    problem.clear();
    QString r = RecordRichiesta(request(), nullptr, &problem);
    QTest::newRow("applicant not found") << r << problem << "Richiedente non trovato in archivio";
    problem.clear();
    r = RecordRichiesta(request(), &unknown, &problem);
    QTest::newRow("applicant of no kind") << r << problem << "Tipo richiedente non riconosciuto";
    unknown.tipo = QStringLiteral("p");
    problem.clear();
    r = RecordBeneficiario(kKey, &unknown, "1", &problem);
    QTest::newRow("lower-case kind is no kind") << r << problem << "Tipo richiedente non riconosciuto";
    problem.clear();
    r = RecordBeneficiario(kKey, nullptr, "1", &problem);
    QTest::newRow("beneficiary not found") << r << problem << "Richiedente non trovato in archivio";
    QTest::newRow("professional not found") << RecordProfessionista(kKey, nullptr, "1") << QString() << QString();
    ImpresaData firm{"01234567890", "X"};
    QTest::newRow("company not found") << RecordImpresa(kKey, nullptr, true, "F205") << QString() << QString();
    QTest::newRow("company municipality never chosen")
        << RecordImpresa(kKey, &firm, false, QString()) << QString() << QString();
}

void TestTransmissionRecords::emptyRecords()
{
    QFETCH(QString, built);
    QFETCH(QString, problem);
    QFETCH(QString, expectedProblem);
    QVERIFY(built.isEmpty());
    QCOMPARE(problem, expectedProblem);
}

using Check = bool (*)(const QString&);
Q_DECLARE_METATYPE(Check)

void TestTransmissionRecords::completeness_data()
{
    QTest::addColumn<Check>("check");
    QTest::addColumn<QString>("record");
    QTest::addColumn<bool>("passes");

    const SoggettoData p = person();
    QTest::newRow("beneficiary complete")
        << Check(ValidaRecordBeneficiario) << RecordBeneficiario(kKey, &p, "1") << true;
    QTest::newRow("beneficiary without qualifica")
        << Check(ValidaRecordBeneficiario) << RecordBeneficiario(kKey, &p, "") << false;
    SoggettoData noCf = p;
    noCf.cf = QStringLiteral("   ");
    QTest::newRow("beneficiary without code")
        << Check(ValidaRecordBeneficiario) << RecordBeneficiario(kKey, &noCf, "1") << false;
    QTest::newRow("beneficiary empty record") << Check(ValidaRecordBeneficiario) << QString() << false;
    QTest::newRow("cadastral complete, optional parts blank")
        << Check(ValidaRecordCatasto) << RecordCatasto(kKey, CatastoData{"T", "", "1", "2", "", "", ""}) << true;
    QTest::newRow("cadastral without tipo unita")
        << Check(ValidaRecordCatasto) << RecordCatasto(kKey, CatastoData{"", "", "1", "2", "", "", ""}) << false;
    QTest::newRow("cadastral without foglio")
        << Check(ValidaRecordCatasto) << RecordCatasto(kKey, CatastoData{"F", "", "", "2", "", "", ""}) << false;
    QTest::newRow("cadastral without particella")
        << Check(ValidaRecordCatasto) << RecordCatasto(kKey, CatastoData{"F", "", "1", " ", "", "", ""}) << false;

    ProfessionistaData prof{"BNCNNA75H45F205A", qlonglong(2), "MI", "123"};
    QTest::newRow("professional complete")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, &prof, "0") << true;
    ProfessionistaData wrongCheck = prof;
    wrongCheck.codiceFiscale = QStringLiteral("BNCNNA75H45F205B");
    QTest::newRow("professional wrong check character")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, &wrongCheck, "0") << false;
    ProfessionistaData digits = prof;
    digits.codiceFiscale = QStringLiteral("01234567890");
    QTest::newRow("professional with 11 digits")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, &digits, "0") << false;
    ProfessionistaData noAlbo = prof;
    noAlbo.albo = QVariant();
    QTest::newRow("professional without albo")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, &noAlbo, "0") << false;
    QTest::newRow("professional without qualifica")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, &prof, "") << false;
    QTest::newRow("professional not found")
        << Check(ValidaRecordProfessionista) << RecordProfessionista(kKey, nullptr, "0") << false;

    ImpresaData firm{"01234567890", "COSTRUZIONI ROSSI S.N.C."};
    QTest::newRow("company complete") << Check(ValidaRecordImpresa) << RecordImpresa(kKey, &firm, true, "F205") << true;
    QTest::newRow("company without municipality code")
        << Check(ValidaRecordImpresa) << RecordImpresa(kKey, &firm, true, "") << false;
    QTest::newRow("company municipality never chosen")
        << Check(ValidaRecordImpresa) << RecordImpresa(kKey, &firm, false, "") << false;
    ImpresaData noName{"01234567890", ""};
    QTest::newRow("company without denominazione")
        << Check(ValidaRecordImpresa) << RecordImpresa(kKey, &noName, true, "F205") << false;
    ImpresaData noVat{"", "X"};
    QTest::newRow("company without partita IVA")
        << Check(ValidaRecordImpresa) << RecordImpresa(kKey, &noVat, true, "F205") << false;
    QTest::newRow("a record of another type")
        << Check(ValidaRecordImpresa) << RecordCatasto(kKey, CatastoData{}) << false;
}

void TestTransmissionRecords::completeness()
{
    QFETCH(Check, check);
    QFETCH(QString, record);
    QFETCH(bool, passes);
    QCOMPARE(check(record), passes);
}

QTEST_APPLESS_MAIN(TestTransmissionRecords)
#include "tst_TransmissionRecords.moc"
