#include "transmission/TransmissionRecords.h"

#include "fiscal/CodiceFiscale.h"

namespace zol {
namespace {

const QChar kBlank = QLatin1Char(' ');
constexpr int kLength = Transmission::kRecordLength;

// Positions from..to (counted from 1, both included) of a record.
QStringView positions(const QString& record, int from, int to)
{
    return QStringView(record).mid(from - 1, to - from + 1);
}

bool filled(const QString& record, int from, int to)
{
    for (const QChar c : positions(record, from, to))
        if (c.unicode() > ' ')
            return true;
    return false;
}

bool isRecordOfType(const QString& record, QChar type)
{
    return record.size() == kLength && record.at(0) == type;
}

// A record being built: its fields are appended in order into one buffer of 368 characters.
class Fields
{
public:
    Fields() { m_s.reserve(kLength); }
    explicit Fields(QChar type) : Fields() { m_s += type; }
    Fields& text(const QString& value, int width)
    {
        const qsizetype start = m_s.size();
        m_s.append(value.constData(), qMin<qsizetype>(value.size(), width));
        // A control character (a line break typed into an address) would break the record.
        for (qsizetype i = start; i < m_s.size(); ++i)
            if (m_s.at(i).unicode() < ' ' || m_s.at(i).unicode() == 0x7f)
                m_s[i] = kBlank;
        m_s.resize(start + width, kBlank);
        return *this;
    }
    Fields& blanks(int n)
    {
        m_s.resize(m_s.size() + n, kBlank);
        return *this;
    }
    Fields& date(const QDate& d)
    {
        static const QDate zero(1899, 12, 30);
        if (!d.isValid() || d <= zero)
            return blanks(8);
        const int digits[] = {d.day() / 10,         d.day() % 10,        d.month() / 10,     d.month() % 10,
                              d.year() / 1000 % 10, d.year() / 100 % 10, d.year() / 10 % 10, d.year() % 10};
        for (int digit : digits)
            m_s += QLatin1Char(char('0' + digit));
        return *this;
    }
    Fields& block(const SoggettoData& p)
    {
        if (p.tipo == QLatin1String("A"))
            return text(p.cf, 16).blanks(64).text(p.denominazione, 60).text(p.codiceComuneAz, 4);
        return text(p.cf, 16)
            .text(p.cognome, 26)
            .text(p.nome, 25)
            .text(p.sesso, 1)
            .date(p.dnascita)
            .text(p.codiceComune, 4)
            .blanks(64);
    }
    Fields& childKey(const ChildKey& key) { return text(key.cfRichiedente, 16).text(key.numeroProtocollo, 20); }
    QString finish()
    {
        m_s += QLatin1Char('A');
        Q_ASSERT(m_s.size() == kLength);
        return m_s;
    }
    QString take() { return m_s; }

private:
    QString m_s;
};

// The party, or nothing with the reason in *problem.
bool knownParty(const SoggettoData* party, QString* problem)
{
    QString why;
    if (!party)
        why = Transmission::kApplicantNotFound;
    else if (party->tipo != QLatin1String("A") && party->tipo != QLatin1String("P"))
        why = Transmission::kApplicantKindUnknown;
    if (problem && !why.isEmpty())
        *problem = why;
    return why.isEmpty();
}

} // namespace

QString Allinea(const QString& value, int width)
{
    return Fields().text(value, width).take();
}

QString Allinea(const QVariant& value, int width)
{
    return Allinea(value.isNull() ? QString() : value.toString(), width);
}

QString FormattaData(const QDate& date)
{
    return Fields().date(date).take();
}

QString FormattaData(const QVariant& date)
{
    return FormattaData(date.isNull() ? QDate() : date.toDate());
}

QString BloccoSoggetto(const SoggettoData* party, QString* problem)
{
    if (!knownParty(party, problem))
        return {};
    return Fields().block(*party).take();
}

QString RecordTesta(const QString& tipo, const TEnteSettings& ente, int anno)
{
    SoggettoData e;
    e.tipo = QStringLiteral("A");
    e.cf = ente.CODICEFISCALE;
    e.denominazione = ente.DENOMINAZIONE;
    e.codiceComuneAz = ente.BELFIORE;
    return Fields(tipo.isEmpty() ? kBlank : tipo.at(0))
        .text(Transmission::kFixedCode, 7)
        .block(e)
        .text(QString::asprintf("%04d", anno), 4)
        .blanks(211)
        .finish();
}

QString RecordRichiesta(const RichiestaData& r, const SoggettoData* applicant, QString* problem)
{
    if (!knownParty(applicant, problem))
        return {};
    // "0" Permesso di Costruire / Certificato di Agibilità, "1" any other kind (DIA): a DIA
    // carries no start date.
    const bool permesso = r.tipoRec == QLatin1String("1");
    Fields f(QLatin1Char('1'));
    f.block(*applicant)
        .text(r.qualificaRichiedente, 1)
        .text(permesso ? QStringLiteral("0") : QStringLiteral("1"), 1)
        .text(r.tipologiaIntervento, 1)
        .text(r.numeroProtocollo, 20)
        .text(r.tipologiaRichiesta, 1)
        .date(r.dataPresentazione);
    if (permesso)
        f.date(r.dataInizio);
    else
        f.blanks(8);
    return f.date(r.dataFine).text(r.indirizzo, 35).blanks(139).finish();
}

QString RecordBeneficiario(const ChildKey& key, const SoggettoData* beneficiary, const QString& qualifica,
                           QString* problem)
{
    if (!knownParty(beneficiary, problem))
        return {};
    return Fields(QLatin1Char('2')).childKey(key).block(*beneficiary).text(qualifica, 1).blanks(185).finish();
}

QString RecordCatasto(const ChildKey& key, const CatastoData& u)
{
    return Fields(QLatin1Char('3'))
        .childKey(key)
        .text(u.tipoUnita, 1)
        .text(u.sezione, 3)
        .text(u.foglio, 5)
        .text(u.particella, 5)
        .text(u.estParticella, 4)
        .text(u.tipoParticella, 1)
        .text(u.subalterno, 4)
        .blanks(307)
        .finish();
}

QString RecordProfessionista(const ChildKey& key, const ProfessionistaData* p, const QString& qualifica)
{
    if (!p)
        return {};
    // ALBO is a whole number; a text that found its way into the column is written as it is.
    QString albo;
    if (p->albo.typeId() == QMetaType::QString)
        albo = p->albo.toString();
    else if (!p->albo.isNull())
        albo = QString::number(p->albo.toLongLong());
    return Fields(QLatin1Char('4'))
        .childKey(key)
        .text(p->codiceFiscale, 16)
        .text(albo, 1)
        .text(p->provinciaAlbo, 2)
        .text(p->numeroIscrizione, 10)
        .text(qualifica, 1)
        .blanks(300)
        .finish();
}

QString RecordImpresa(const ChildKey& key, const ImpresaData* company, bool comuneFound, const QString& codiceComune)
{
    if (!company || !comuneFound)
        return {};
    return Fields(QLatin1Char('5'))
        .childKey(key)
        .text(company->partitaIva, 11)
        .text(company->denominazione, 50)
        .text(codiceComune, 4)
        .blanks(265)
        .finish();
}

bool ValidaRecordBeneficiario(const QString& record)
{
    return isRecordOfType(record, QLatin1Char('2')) && filled(record, 38, 53) && filled(record, 182, 182);
}

bool ValidaRecordCatasto(const QString& record)
{
    return isRecordOfType(record, QLatin1Char('3')) && filled(record, 38, 38) && filled(record, 42, 46) &&
           filled(record, 47, 51);
}

bool ValidaRecordProfessionista(const QString& record)
{
    return isRecordOfType(record, QLatin1Char('4')) && filled(record, 38, 53) &&
           ControllaCodiceFiscale(positions(record, 38, 53).toString()) && filled(record, 54, 54) &&
           filled(record, 67, 67);
}

bool ValidaRecordImpresa(const QString& record)
{
    return isRecordOfType(record, QLatin1Char('5')) && filled(record, 38, 48) && filled(record, 49, 98) &&
           filled(record, 99, 102);
}

} // namespace zol
