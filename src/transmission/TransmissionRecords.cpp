#include "transmission/TransmissionRecords.h"

#include "fiscal/CodiceFiscale.h"

namespace zol {
namespace {

const QChar kBlank = QLatin1Char(' ');

QString blanks(int n)
{
    return QString(n, kBlank);
}

// Positions from..to (counted from 1, both included) of a record.
QString positions(const QString& record, int from, int to)
{
    return record.mid(from - 1, to - from + 1);
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
    return record.size() == Transmission::kRecordLength && record.at(0) == type;
}

QString childPrefix(QChar type, const ChildKey& key)
{
    return QString(type) + Allinea(key.cfRichiedente, 16) + Allinea(key.numeroProtocollo, 20);
}

QString finish(QString record)
{
    record += QLatin1Char('A');
    Q_ASSERT(record.size() == Transmission::kRecordLength);
    return record;
}

} // namespace

QString Allinea(const QString& value, int width)
{
    QString out = value.left(width);
    for (QChar& c : out)
        if (c.unicode() < ' ' || c.unicode() == 0x7f)
            c = kBlank;
    if (out.size() < width)
        out += blanks(width - int(out.size()));
    return out;
}

QString Allinea(const QVariant& value, int width)
{
    return Allinea(value.isNull() ? QString() : value.toString(), width);
}

QString FormattaData(const QDate& date)
{
    static const QDate zero(1899, 12, 30);
    if (!date.isValid() || date <= zero)
        return blanks(8);
    return QString::asprintf("%02d%02d%04d", date.day(), date.month(), date.year());
}

QString FormattaData(const QVariant& date)
{
    return FormattaData(date.isNull() ? QDate() : date.toDate());
}

QString BloccoSoggetto(const SoggettoData* party, QString* problem)
{
    if (!party) {
        if (problem)
            *problem = Transmission::kApplicantNotFound;
        return {};
    }
    if (party->tipo == QLatin1String("A")) {
        return Allinea(party->cf, 16) + blanks(64) + Allinea(party->denominazione, 60) +
               Allinea(party->codiceComuneAz, 4);
    }
    if (party->tipo == QLatin1String("P")) {
        return Allinea(party->cf, 16) + Allinea(party->cognome, 26) + Allinea(party->nome, 25) +
               Allinea(party->sesso, 1) + FormattaData(party->dnascita) + Allinea(party->codiceComune, 4) + blanks(64);
    }
    if (problem)
        *problem = Transmission::kApplicantKindUnknown;
    return {};
}

QString RecordTesta(const QString& tipo, const TEnteSettings& ente, int anno)
{
    SoggettoData e;
    e.tipo = QStringLiteral("A");
    e.cf = ente.CODICEFISCALE;
    e.denominazione = ente.DENOMINAZIONE;
    e.codiceComuneAz = ente.BELFIORE;
    return finish(Allinea(tipo, 1) + Transmission::kFixedCode + BloccoSoggetto(&e) +
                  Allinea(QString::asprintf("%04d", anno), 4) + blanks(211));
}

QString RecordRichiesta(const RichiestaData& r, const SoggettoData* applicant, QString* problem)
{
    const QString block = BloccoSoggetto(applicant, problem);
    if (block.isEmpty())
        return {};
    // "0" Permesso di Costruire / Certificato di Agibilità, "1" any other kind (DIA): a DIA
    // carries no start date.
    const bool permesso = r.tipoRec == QLatin1String("1");
    return finish(QStringLiteral("1") + block + Allinea(r.qualificaRichiedente, 1) +
                  (permesso ? QStringLiteral("0") : QStringLiteral("1")) + Allinea(r.tipologiaIntervento, 1) +
                  Allinea(r.numeroProtocollo, 20) + Allinea(r.tipologiaRichiesta, 1) +
                  FormattaData(r.dataPresentazione) + (permesso ? FormattaData(r.dataInizio) : blanks(8)) +
                  FormattaData(r.dataFine) + Allinea(r.indirizzo, 35) + blanks(139));
}

QString RecordBeneficiario(const ChildKey& key, const SoggettoData* beneficiary, const QString& qualifica,
                           QString* problem)
{
    const QString block = BloccoSoggetto(beneficiary, problem);
    if (block.isEmpty())
        return {};
    return finish(childPrefix(QLatin1Char('2'), key) + block + Allinea(qualifica, 1) + blanks(185));
}

QString RecordCatasto(const ChildKey& key, const CatastoData& u)
{
    return finish(childPrefix(QLatin1Char('3'), key) + Allinea(u.tipoUnita, 1) + Allinea(u.sezione, 3) +
                  Allinea(u.foglio, 5) + Allinea(u.particella, 5) + Allinea(u.estParticella, 4) +
                  Allinea(u.tipoParticella, 1) + Allinea(u.subalterno, 4) + blanks(307));
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
    return finish(childPrefix(QLatin1Char('4'), key) + Allinea(p->codiceFiscale, 16) + Allinea(albo, 1) +
                  Allinea(p->provinciaAlbo, 2) + Allinea(p->numeroIscrizione, 10) + Allinea(qualifica, 1) +
                  blanks(300));
}

QString RecordImpresa(const ChildKey& key, const ImpresaData* company, bool comuneFound, const QString& codiceComune)
{
    if (!company || !comuneFound)
        return {};
    return finish(childPrefix(QLatin1Char('5'), key) + Allinea(company->partitaIva, 11) +
                  Allinea(company->denominazione, 50) + Allinea(codiceComune, 4) + blanks(265));
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
           ControllaCodiceFiscale(positions(record, 38, 53)) && filled(record, 54, 54) && filled(record, 67, 67);
}

bool ValidaRecordImpresa(const QString& record)
{
    return isRecordOfType(record, QLatin1Char('5')) && filled(record, 38, 48) && filled(record, 49, 98) &&
           filled(record, 99, 102);
}

} // namespace zol
