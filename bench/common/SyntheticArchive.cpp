#include "SyntheticArchive.h"

#include "archive/Connection.h"
#include "fiscal/CodiceFiscale.h"

#include <QDate>
#include <QDir>
#include <QStringList>
#include <QVector>

#include <random>

namespace zol::bench {
namespace {

const char* const kSurnames[] = {
    "ROSSI",      "RUSSO",     "FERRARI",  "ESPOSITO",  "BIANCHI",    "ROMANO",    "COLOMBO",    "RICCI",
    "MARINO",     "GRECO",     "BRUNO",    "GALLO",     "CONTI",      "DE LUCA",   "MANCINI",    "COSTA",
    "GIORDANO",   "RIZZO",     "LOMBARDI", "MORETTI",   "BARBIERI",   "FONTANA",   "SANTORO",    "MARIANI",
    "RINALDI",    "CARUSO",    "FERRARA",  "GALLI",     "MARTINI",    "LEONE",     "LONGO",      "GENTILE",
    "MARTINELLI", "VITALE",    "LOMBARDO", "SERRA",     "COPPOLA",    "DE SANTIS", "D'ANGELO",   "MARCHETTI",
    "PARISI",     "VILLA",     "CONTE",    "FERRARO",   "FERRI",      "FABBRI",    "BIANCO",     "MARINI",
    "GRASSO",     "VALENTINI", "MESSINA",  "SALA",      "DE ANGELIS", "GATTI",     "PELLEGRINI", "PALUMBO",
    "SANNA",      "FARINA",    "MONTI",    "CATTANEO",  "MORELLI",    "AMATO",     "SILVESTRI",  "MAZZA",
    "TESTA",      "CARBONE",   "GIULIANI", "BENEDETTI", "BARONE",     "D'AMICO",   "NICOLÒ",     "DELL'ACQUA",
    "LO RE",      "LI",        "HU",       "OLIVIERI",  "UGOLINI",    "AIELLO",    "IOVINE",     "EUSEBI",
};

const char* const kMaleNames[] = {
    "MARIO",      "GIUSEPPE", "GIOVANNI", "ANTONIO", "LUCA",       "MARCO",      "FRANCESCO", "ANDREA",
    "ALESSANDRO", "STEFANO",  "PAOLO",    "ROBERTO", "MATTEO",     "LORENZO",    "DAVIDE",    "SIMONE",
    "FEDERICO",   "RICCARDO", "NICCOLÒ",  "UGO",     "PIER PAOLO", "GIAN MARIA", "SALVATORE", "VINCENZO",
    "PIETRO",     "CARLO",    "ENRICO",   "FABIO",   "YU",         "WEI",        "EZIO",      "IVO",
};

const char* const kFemaleNames[] = {
    "ANNA",      "MARIA",   "GIULIA",  "FRANCESCA", "SARA",     "CHIARA",  "LAURA",      "ELENA",
    "VALENTINA", "ALESSIA", "MARTINA", "SILVIA",    "PAOLA",    "ROBERTA", "FEDERICA",   "ELISA",
    "GIORGIA",   "ILARIA",  "MONICA",  "BARBARA",   "CRISTINA", "SIMONA",  "ANNA MARIA", "MARIA GRAZIA",
    "BEATRICE",  "NOEMI",   "AIDA",    "IDA",       "EVA",      "LI",      "ORNELLA",    "UMBERTA",
};

const char* const kStreets[] = {
    "VIA ROMA",
    "VIA GARIBALDI",
    "VIA MAZZINI",
    "CORSO VITTORIO EMANUELE",
    "VIA DANTE ALIGHIERI",
    "PIAZZA DELLA REPUBBLICA",
    "VIA XX SETTEMBRE",
    "VIALE DELLA LIBERTÀ",
    "VIA SANT'ANTONIO",
    "VIA DEI MILLE",
    "VIA MATTEOTTI",
    "VIA CAVOUR",
    "LOCALITÀ POGGIO",
    "VIA DELLE VIGNE",
    "VIA NAZIONALE",
};

const char* const kProvinces[] = {"RM", "MI", "TO", "NA", "PA", "FI", "BO", "VE", "BA", "GE", "PD", "VR", "BS", "CA"};

template <typename T, size_t N> constexpr int count(const T (&)[N])
{
    return int(N);
}

struct Comune
{
    qlonglong id;
    QString codice;
};

class Generator
{
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return uniform(1, 100) <= percent; }
    template <typename T, size_t N> QString pick(const T (&list)[N])
    {
        return QString::fromUtf8(list[uniform(0, int(N) - 1)]);
    }
    QDate dateBetween(const QDate& from, const QDate& to) { return from.addDays(uniform(0, int(from.daysTo(to)))); }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QLatin1Char(char('0' + uniform(0, 9)));
        return s;
    }

private:
    std::mt19937 m_rng;
};

// The partita IVA with its published check digit: seven digits of the firm, three of the office.
QString partitaIva(Generator& g)
{
    const QString body = g.digits(7) + QString::asprintf("%03d", g.uniform(1, 100));
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = body.at(i).unicode() - '0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
    }
    return body + QLatin1Char(char('0' + (10 - sum % 10) % 10));
}

QString ddmmyy(const QDate& d)
{
    return QString::asprintf("%02d/%02d/%02d", d.day(), d.month(), d.year() % 100);
}

// One table file opened on its own, written in one transaction.
class TableFile
{
public:
    TableFile(const QString& dataFolder, const QString& table, QString* error) : m_error(error)
    {
        m_ok = m_c.open(QDir(dataFolder).filePath(table + QStringLiteral(".DAT"))) && m_c.exec(QStringLiteral("BEGIN"));
        check(table);
    }
    ~TableFile()
    {
        if (m_c.isOpen() && m_c.inTransaction())
            m_c.exec(QStringLiteral("ROLLBACK"));
    }
    Statement prepare(const QString& sql)
    {
        Statement s = m_c.prepare(sql);
        m_ok = m_ok && s.isValid();
        check(sql);
        return s;
    }
    qlonglong insert(Statement& s, const QVariantList& values)
    {
        if (!m_ok)
            return 0;
        s.reset();
        s.bindAll(values);
        m_ok = s.exec();
        if (!m_ok && m_error)
            *m_error = s.error().text;
        return m_c.lastInsertRowid();
    }
    bool commit()
    {
        m_ok = m_ok && m_c.exec(QStringLiteral("COMMIT"));
        check(QStringLiteral("COMMIT"));
        return m_ok;
    }
    bool ok() const { return m_ok; }
    Connection& connection() { return m_c; }

private:
    void check(const QString& what)
    {
        if (!m_ok && m_error && m_error->isEmpty())
            *m_error = what + QStringLiteral(": ") + m_c.error().text;
    }
    Connection m_c;
    QString* m_error;
    bool m_ok = false;
};

struct Person
{
    QString cognome, nome, sesso, cf;
    QDate nascita;
    qlonglong idComune;
};

Person makePerson(Generator& g, const QVector<Comune>& comuni)
{
    Person p;
    p.cognome = g.pick(kSurnames);
    p.sesso = g.chance(50) ? QStringLiteral("M") : QStringLiteral("F");
    p.nome = p.sesso == QLatin1String("M") ? g.pick(kMaleNames) : g.pick(kFemaleNames);
    p.nascita = g.dateBetween(QDate(1935, 1, 1), QDate(2002, 12, 31));
    const Comune& c = comuni.at(g.uniform(0, int(comuni.size()) - 1));
    p.idComune = c.id;
    p.cf = CalcolaCodiceFiscale(p.cognome, p.nome, p.sesso, ddmmyy(p.nascita), c.codice);
    return p;
}

QString companyName(Generator& g)
{
    const QString surname = g.pick(kSurnames);
    switch (g.uniform(0, 3)) {
    case 0:
        return QStringLiteral("EDILIZIA %1 S.R.L.").arg(surname);
    case 1:
        return QStringLiteral("COSTRUZIONI %1 & C. S.N.C.").arg(surname);
    case 2:
        return QStringLiteral("IMPRESA EDILE %1 %2").arg(surname, g.pick(kMaleNames));
    default:
        return QStringLiteral("%1 COSTRUZIONI GENERALI S.P.A.").arg(surname);
    }
}

} // namespace

TEnteSettings syntheticEnte()
{
    TEnteSettings e;
    e.DENOMINAZIONE = QStringLiteral("COMUNE DI ABANO TERME");
    e.CODICEFISCALE = QStringLiteral("80012340285");
    e.BELFIORE = QStringLiteral("A001");
    e.INDIRIZZO = QStringLiteral("PIAZZA DEL MUNICIPIO 1");
    e.CAP = QStringLiteral("35031");
    e.CITTA = QStringLiteral("ABANO TERME");
    e.PROVINCIA = QStringLiteral("PD");
    return e;
}

bool fillSyntheticArchive(const QString& programFolder, const SyntheticArchiveOptions& options,
                          SyntheticArchive* result, QString* error)
{
    QString localError;
    QString* err = error ? error : &localError;
    err->clear();
    const QString data = QDir(programFolder).filePath(QStringLiteral("dati"));
    Generator g(options.seed);
    const int n = qMax(0, options.requests);
    SyntheticArchive r;

    // Birth places and seats: municipalities of the list (foreign states only now and then).
    QVector<Comune> comuni;
    {
        Connection c;
        if (!c.open(QDir(data).filePath(QStringLiteral("COMUNI.DAT")), false, true)) {
            *err = c.error().text;
            return false;
        }
        Statement s = c.prepare(QStringLiteral("SELECT ID, CODICE, PROV FROM COMUNI ORDER BY ID"));
        while (s.step())
            if (s.value(2).toString() != QLatin1String("EE") || g.chance(5))
                comuni.append({s.value(0).toLongLong(), s.value(1).toString()});
        if (comuni.isEmpty()) {
            *err = QStringLiteral("COMUNI è vuota");
            return false;
        }
    }
    auto comune = [&]() -> const Comune& { return comuni.at(g.uniform(0, int(comuni.size()) - 1)); };

    QVector<qlonglong> professionals, imprese;
    {
        TableFile t(data, QStringLiteral("PROFESSIONISTI"), err);
        Statement s = t.prepare(QStringLiteral("INSERT INTO PROFESSIONISTI (CODICE_FISCALE, COGNOME, NOME, ALBO, "
                                               "PROVINCIA_ALBO, NUMERO_ISCRIZIONE) VALUES (?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < qMax(1, n / 20) && t.ok(); ++i) {
            const Person p = makePerson(g, comuni);
            professionals << t.insert(
                s, {p.cf, p.cognome, p.nome, g.uniform(1, 6), g.pick(kProvinces), QString::number(g.uniform(1, 9999))});
        }
        if (!t.commit())
            return false;
    }
    {
        TableFile t(data, QStringLiteral("IMPRESE"), err);
        Statement s =
            t.prepare(QStringLiteral("INSERT INTO IMPRESE (PARTITA_IVA, DENOMINAZIONE, ID_COMUNE) VALUES (?, ?, ?)"));
        for (int i = 0; i < qMax(1, n / 20) && t.ok(); ++i)
            imprese << t.insert(s, {partitaIva(g), companyName(g), comune().id});
        if (!t.commit())
            return false;
    }

    // Per request: the applicant, then its two beneficiaries.
    QVector<qlonglong> parties;
    parties.reserve(n * 3);
    {
        TableFile t(data, QStringLiteral("RICHIEDENTI"), err);
        Statement person = t.prepare(
            QStringLiteral("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                           "PERS_DNASCITA, ID_COMUNE) VALUES ('P', ?, ?, ?, ?, ?, ?)"));
        Statement subject = t.prepare(QStringLiteral("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, "
                                                     "AZ_DENOMINAZIONE, ID_COMUNE_AZ) VALUES ('A', ?, ?, ?)"));
        auto addPerson = [&]() {
            const Person p = makePerson(g, comuni);
            ++r.persons;
            return t.insert(person, {p.cf, p.cognome, p.nome, p.sesso, p.nascita, p.idComune});
        };
        for (int i = 0; i < n && t.ok(); ++i) {
            if (i % 10 == 9) {
                parties << t.insert(subject, {partitaIva(g), companyName(g), comune().id});
                ++r.companies;
            } else {
                parties << addPerson();
            }
            parties << addPerson();
            parties << addPerson();
        }
        for (int i = 0; i < options.extraPersons && t.ok(); ++i)
            addPerson();
        if (!t.commit())
            return false;
    }

    const QDate created(options.anno, 12, 1);
    {
        TableFile t(data, QStringLiteral("DENUNCE"), err);
        Statement s = t.prepare(QStringLiteral("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, DATA_CREAZIONE, "
                                               "STATO) VALUES (?, ?, ?, ?, 'A')"));
        r.idDenuncia =
            t.insert(s, {options.anno, options.progressivo,
                         QStringLiteral("Denuncia n. %1 / %2").arg(options.progressivo).arg(options.anno), created});
        if (!t.commit())
            return false;
    }

    QVector<qlonglong> requests;
    requests.reserve(n);
    {
        TableFile t(data, QStringLiteral("RICHIESTE"), err);
        Statement s = t.prepare(QStringLiteral(
            "INSERT INTO RICHIESTE (ID_DENUNCIA, TIPO_REC, ID_RICHIEDENTE, QUALIFICA_RICHIEDENTE, "
            "TIPOLOGIA_INTERVENTO, NUMERO_PROTOCOLLO, TIPOLOGIA_RICHIESTA, DATA_PRESENTAZIONE, DATA_INIZIO, "
            "DATA_FINE, INDIRIZZO, DATA_CREAZIONE, NUM_TRASM, PADRE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, "
            "0)"));
        const QDate yearStart(options.anno, 1, 1);
        const QDate yearEnd(options.anno, 12, 31);
        for (int i = 0; i < n && t.ok(); ++i) {
            const QDate presented = g.dateBetween(yearStart, yearEnd);
            const QDate start = g.chance(80) ? presented.addDays(g.uniform(10, 120)) : QDate();
            const QDate end = start.isValid() && g.chance(50) ? start.addDays(g.uniform(60, 700)) : QDate();
            const QString address = QStringLiteral("%1 %2").arg(g.pick(kStreets)).arg(g.uniform(1, 250)).left(35);
            requests << t.insert(s,
                                 {r.idDenuncia, g.chance(60) ? QStringLiteral("1") : QStringLiteral("2"),
                                  parties.at(i * 3), QString::number(g.uniform(1, 4)), QString::number(g.uniform(1, 7)),
                                  QStringLiteral("%1/%2").arg(i + 1).arg(options.anno),
                                  g.chance(90) ? QStringLiteral("0") : QStringLiteral("1"), presented, start, end,
                                  address, presented});
        }
        if (!t.commit())
            return false;
    }
    {
        TableFile t(data, QStringLiteral("BENEFICIARI"), err);
        Statement s = t.prepare(
            QStringLiteral("INSERT INTO BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) VALUES (?, ?, ?)"));
        for (int i = 0; i < n && t.ok(); ++i)
            for (int b = 1; b <= 2; ++b)
                t.insert(s, {requests.at(i), QString::number(g.uniform(1, 4)), parties.at(i * 3 + b)});
        if (!t.commit())
            return false;
    }
    {
        TableFile t(data, QStringLiteral("CATASTO"), err);
        Statement s = t.prepare(QStringLiteral(
            "INSERT INTO CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, EST_PARTICELLA, "
            "TIPO_PARTICELLA, SUBALTERNO) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        const QVariant none;
        for (int i = 0; i < n && t.ok(); ++i) {
            for (int u = 0; u < 2; ++u) {
                const bool building = g.chance(70);
                t.insert(s, {requests.at(i), building ? QStringLiteral("F") : QStringLiteral("T"),
                             g.chance(20) ? QVariant(QStringLiteral("A")) : none, QString::number(g.uniform(1, 120)),
                             QString::number(g.uniform(1, 4000)),
                             g.chance(10) ? QVariant(QString::number(g.uniform(1, 99))) : none,
                             g.chance(10) ? QVariant(building ? QStringLiteral("E") : QStringLiteral("F")) : none,
                             building ? QVariant(QString::number(g.uniform(1, 60))) : none});
            }
        }
        if (!t.commit())
            return false;
    }
    {
        TableFile t(data, QStringLiteral("MDPROF"), err);
        Statement s = t.prepare(
            QStringLiteral("INSERT INTO MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) VALUES (?, ?, ?)"));
        for (int i = 0; i < n && t.ok(); ++i)
            t.insert(s, {requests.at(i), QString::number(professionals.at(g.uniform(0, int(professionals.size()) - 1))),
                         QString::number(g.uniform(0, 2))});
        if (!t.commit())
            return false;
    }
    {
        TableFile t(data, QStringLiteral("MDIMPR"), err);
        Statement s =
            t.prepare(QStringLiteral("INSERT INTO MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) VALUES (?, ?, ?)"));
        for (int i = 0; i < n && t.ok(); ++i)
            t.insert(s, {requests.at(i), imprese.at(g.uniform(0, int(imprese.size()) - 1)), comune().id});
        if (!t.commit())
            return false;
    }

    r.requests = n;
    r.professionals = int(professionals.size());
    r.imprese = int(imprese.size());
    if (result)
        *result = r;
    return true;
}

} // namespace zol::bench
