#include "fiscal/CodeLengthRules.h"
#include "fiscal/CodiceFiscale.h"

#include <QTest>

using namespace zol;

class TestCodiceFiscale : public QObject
{
    Q_OBJECT
private slots:
    void derivation_data();
    void derivation();
    void checkCharacter_data();
    void checkCharacter();
    void verification_data();
    void verification();
    void letterFilters_data();
    void letterFilters();
    void lengthRules_data();
    void lengthRules();
    void applicantKind_data();
    void applicantKind();
};

void TestCodiceFiscale::derivation_data()
{
    QTest::addColumn<QString>("cognome");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("sesso");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("comune");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain male") << "Rossi"
                                << "Mario"
                                << "M"
                                << "01/01/80"
                                << "H501"
                                << "RSSMRA80A01H501U";
    QTest::newRow("female day plus 40") << "Bianchi"
                                        << "Anna"
                                        << "F"
                                        << "05/06/75"
                                        << "F205"
                                        << "BNCNNA75H45F205A";
    QTest::newRow("apostrophe dropped, name 1st 3rd 4th consonant") << "D'Angelo"
                                                                    << "Alessandro"
                                                                    << "M"
                                                                    << "31/12/99"
                                                                    << "A944"
                                                                    << "DNGLSN99T31A944W";
    QTest::newRow("two-letter surname takes X") << "Li"
                                                << "Wei"
                                                << "M"
                                                << "07/03/01"
                                                << "Z210"
                                                << "LIXWEI01C07Z210C";
    QTest::newRow("consonants before vowels") << "Rossi"
                                              << "Ugo"
                                              << "F"
                                              << "07/03/01"
                                              << "Z210"
                                              << "RSSGUO01C47Z210E";
    QTest::newRow("two-letter name takes X") << "Rossi"
                                             << "Yu"
                                             << "M"
                                             << "07/03/01"
                                             << "Z210"
                                             << "RSSYUX01C07Z210B";
    QTest::newRow("two letters keep their order") << "Ob"
                                                  << "Mario"
                                                  << "M"
                                                  << "01/01/80"
                                                  << "H501"
                                                  << "OBXMRA80A01H501T";
    QTest::newRow("lower-case sex is female") << "Rossi"
                                              << "Mario"
                                              << "m"
                                              << "01/01/80"
                                              << "H501"
                                              << "RSSMRA80A41H501Y";
    QTest::newRow("female last day of month") << "Rossi"
                                              << "Maria"
                                              << "F"
                                              << "31/01/80"
                                              << "H501"
                                              << "RSSMRA80A71H501B";
    QTest::newRow("name of exactly three consonants") << "Rossi"
                                                      << "Marco"
                                                      << "M"
                                                      << "01/01/80"
                                                      << "H501"
                                                      << "RSSMRC80A01H501W";
    QTest::newRow("accented letter dropped, not replaced") << "Niccolò"
                                                           << "Luca"
                                                           << "M"
                                                           << "01/01/80"
                                                           << "H501"
                                                           << "NCCLCU80A01H501Z";
    QTest::newRow("one letter completed with X") << "O'"
                                                 << "Luca"
                                                 << "M"
                                                 << "01/01/80"
                                                 << "H501"
                                                 << "OXXLCU80A01H501F";

    QTest::newRow("one-character surname") << "R"
                                           << "Mario"
                                           << "M"
                                           << "01/01/80"
                                           << "H501"
                                           << "";
    QTest::newRow("one-character name") << "Rossi"
                                        << "M"
                                        << "M"
                                        << "01/01/80"
                                        << "H501"
                                        << "";
    QTest::newRow("empty sex") << "Rossi"
                               << "Mario"
                               << ""
                               << "01/01/80"
                               << "H501"
                               << "";
    QTest::newRow("empty municipality") << "Rossi"
                                        << "Mario"
                                        << "M"
                                        << "01/01/80"
                                        << ""
                                        << "";
    QTest::newRow("empty birth date") << "Rossi"
                                      << "Mario"
                                      << "M"
                                      << ""
                                      << "H501"
                                      << "";
    QTest::newRow("zero birth date") << "Rossi"
                                     << "Mario"
                                     << "M"
                                     << "00/00/00"
                                     << "H501"
                                     << "";
    QTest::newRow("month 13") << "Rossi"
                              << "Mario"
                              << "M"
                              << "01/13/80"
                              << "H501"
                              << "";
    QTest::newRow("surname without letters") << "12"
                                             << "Mario"
                                             << "M"
                                             << "01/01/80"
                                             << "H501"
                                             << "";
    QTest::newRow("short municipality code") << "Rossi"
                                             << "Mario"
                                             << "M"
                                             << "01/01/80"
                                             << "H50"
                                             << "";
    QTest::newRow("lower-case municipality code") << "Rossi"
                                                  << "Mario"
                                                  << "M"
                                                  << "01/01/80"
                                                  << "h501"
                                                  << "";
}

void TestCodiceFiscale::derivation()
{
    QFETCH(QString, cognome);
    QFETCH(QString, nome);
    QFETCH(QString, sesso);
    QFETCH(QString, data);
    QFETCH(QString, comune);
    QFETCH(QString, expected);
    const QString got = CalcolaCodiceFiscale(cognome, nome, sesso, data, comune);
    QCOMPARE(got, expected);
    if (!got.isEmpty())
        QVERIFY(ControllaCodiceFiscale(got));
}

void TestCodiceFiscale::checkCharacter_data()
{
    QTest::addColumn<QString>("first15");
    QTest::addColumn<QString>("expected"); // empty: no check character
    QTest::newRow("rossi") << "RSSMRA80A01H501"
                           << "U";
    QTest::newRow("remainder 0 is A") << "BNCNNA75H45F205"
                                      << "A";
    QTest::newRow("omocodia letters") << "RSSMRAULALMHRLM"
                                      << "D";
    QTest::newRow("fourteen characters") << "RSSMRA80A01H50"
                                         << "";
    QTest::newRow("blank inside") << "RSSMRA80A01 501"
                                  << "";
    QTest::newRow("lower-case letter") << "rSSMRA80A01H501"
                                       << "";
    QTest::newRow("accented letter") << "RSSMRÀ80A01H501"
                                     << "";
}

void TestCodiceFiscale::checkCharacter()
{
    QFETCH(QString, first15);
    QFETCH(QString, expected);
    const QChar got = CarattereControllo(first15);
    QCOMPARE(got.isNull() ? QString() : QString(got), expected);
}

void TestCodiceFiscale::verification_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid") << "RSSMRA80A01H501U" << true;
    QTest::newRow("omocodia with right check character") << "RSSMRA80A01H50MM" << true;
    QTest::newRow("wrong last letter") << "RSSMRA80A01H501A" << false;
    QTest::newRow("wrong last letter Z") << "RSSMRA80A01H501Z" << false;
    QTest::newRow("15 characters") << "RSSMRA80A01H501" << false;
    QTest::newRow("17 characters") << "RSSMRA80A01H501UX" << false;
    QTest::newRow("trailing blank") << "RSSMRA80A01H501U " << false;
    QTest::newRow("leading blank") << " RSSMRA80A01H501U" << false;
    QTest::newRow("lower case") << "rssmra80a01h501u" << false;
    QTest::newRow("11 digits") << "01234567890" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank in the body") << "RSSMRA80A01 501U" << false;
}

void TestCodiceFiscale::verification()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(ControllaCodiceFiscale(code), valid);
}

void TestCodiceFiscale::letterFilters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("consonants");
    QTest::addColumn<QString>("vowels");
    QTest::newRow("apostrophe and blank") << "D'ANGELO DI"
                                          << "DANGELODI"
                                          << "D'NGL D"
                                          << "AEOI";
    QTest::newRow("digits and accents") << "NICCOLÒ 2"
                                        << "NICCOL"
                                        << "NCCLÒ 2"
                                        << "IO";
    QTest::newRow("lower case is not a letter") << "Rossi"
                                                << "R"
                                                << "Rossi"
                                                << "";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
}

void TestCodiceFiscale::letterFilters()
{
    QFETCH(QString, text);
    QFETCH(QString, letters);
    QFETCH(QString, consonants);
    QFETCH(QString, vowels);
    QCOMPARE(SoloLettere(text), letters);
    QCOMPARE(Consonanti(text), consonants);
    QCOMPARE(Vocali(text), vowels);
}

using Rule = bool (*)(const QString&);
Q_DECLARE_METATYPE(Rule)

void TestCodiceFiscale::lengthRules_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("passes");

    const QString vat = QStringLiteral("01234567890");
    const QString cf = QStringLiteral("RSSMRA80A01H501U");
    QTest::newRow("applicant: 11 digits") << Rule(CodeRules::isApplicantCodeLength) << vat << true;
    QTest::newRow("applicant: 16 trimmed") << Rule(CodeRules::isApplicantCodeLength) << "  " + cf + " " << true;
    QTest::newRow("applicant: 16 without check")
        << Rule(CodeRules::isApplicantCodeLength) << "XXXXXXXXXXXXXXXX" << true;
    QTest::newRow("applicant: 12") << Rule(CodeRules::isApplicantCodeLength) << vat + "1" << false;
    QTest::newRow("applicant: empty") << Rule(CodeRules::isApplicantCodeLength) << "" << false;
    QTest::newRow("professional search: 16") << Rule(CodeRules::isProfessionalCodeLength) << cf + " " << true;
    QTest::newRow("professional search: 11") << Rule(CodeRules::isProfessionalCodeLength) << vat << false;
    QTest::newRow("company: any 11 digits") << Rule(CodeRules::isCompanyVatLength) << "99999999999" << true;
    QTest::newRow("company: 10") << Rule(CodeRules::isCompanyVatLength) << "0123456789" << false;
    QTest::newRow("professional editor: valid") << Rule(CodeRules::isValidProfessionalCodiceFiscale) << cf << true;
    QTest::newRow("professional editor: wrong check")
        << Rule(CodeRules::isValidProfessionalCodiceFiscale) << "RSSMRA80A01H501A" << false;
    QTest::newRow("professional editor: 11 digits")
        << Rule(CodeRules::isValidProfessionalCodiceFiscale) << vat << false;
    QTest::newRow("professional editor: trailing blank")
        << Rule(CodeRules::isValidProfessionalCodiceFiscale) << cf + " " << false;
    QTest::newRow("ente settings: 11 trimmed") << Rule(CodeRules::isEnteCodiceFiscaleLength) << " " + vat + " " << true;
    QTest::newRow("ente settings: 16") << Rule(CodeRules::isEnteCodiceFiscaleLength) << cf << false;
    QTest::newRow("ente belfiore given") << Rule(CodeRules::isEnteBelfioreGiven) << "H501" << true;
    QTest::newRow("ente belfiore blanks") << Rule(CodeRules::isEnteBelfioreGiven) << "   " << false;
    QTest::newRow("transmission: 11") << Rule(CodeRules::isEnteCodiceFiscaleTransmittable) << vat << true;
    QTest::newRow("transmission: 11 plus blank is not trimmed")
        << Rule(CodeRules::isEnteCodiceFiscaleTransmittable) << vat + " " << false;
    QTest::newRow("transmission belfiore: 4 trimmed")
        << Rule(CodeRules::isEnteBelfioreTransmittable) << " H501 " << true;
    QTest::newRow("transmission belfiore: 3") << Rule(CodeRules::isEnteBelfioreTransmittable) << "H50" << false;
    QTest::newRow("transmission belfiore: empty") << Rule(CodeRules::isEnteBelfioreTransmittable) << "" << false;
}

void TestCodiceFiscale::lengthRules()
{
    QFETCH(Rule, rule);
    QFETCH(QString, value);
    QFETCH(bool, passes);
    QCOMPARE(rule(value), passes);
}

void TestCodiceFiscale::applicantKind_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("kind");
    QTest::newRow("16 is a person") << "RSSMRA80A01H501U"
                                    << "P";
    QTest::newRow("16 with blanks is a person") << " RSSMRA80A01H501U "
                                                << "P";
    QTest::newRow("11 is a subject") << "01234567890"
                                     << "A";
    QTest::newRow("other length is a subject") << "0123"
                                               << "A";
}

void TestCodiceFiscale::applicantKind()
{
    QFETCH(QString, code);
    QFETCH(QString, kind);
    QCOMPARE(CodeRules::applicantKindForCode(code), kind);
}

QTEST_APPLESS_MAIN(TestCodiceFiscale)
#include "tst_CodiceFiscale.moc"
