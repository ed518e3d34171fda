#pragma once

// Reading the data of the transmission records from a row of the archive: a view's current row
// (Dataset) or a row of a prepared statement (StatementRow), by column name. Shared by the
// record functions on the data module and by the file generator, so that both read the same
// columns the same way.

#include "archive/Connection.h"
#include "transmission/TransmissionRecords.h"

#include <QDate>
#include <QHash>

namespace zol::transmission_detail {

// The columns of a party (RICHIEDENTI row P) that soggettoFrom reads; PARTY_ID is null when no
// row was found.
inline const QString kPartyColumns = QStringLiteral(
    "P.ID_RICHIEDENTE AS PARTY_ID, P.TIPO_RICHIEDENTE, P.PERS_CF, P.PERS_COGNOME, P.PERS_NOME, P.PERS_SESSO, "
    "P.PERS_DNASCITA, P.AZ_DENOMINAZIONE, (SELECT CODICE FROM COMUNI WHERE ID = P.ID_COMUNE) AS CODICE_COMUNE, "
    "(SELECT CODICE FROM COMUNI WHERE ID = P.ID_COMUNE_AZ) AS CODICE_COMUNE_AZ");

// The columns of a professional (PROFESSIONISTI row F); PROF_ID null when none was found.
inline const QString kProfessionalColumns =
    QStringLiteral("F.ID_PROFESSIONISTA AS PROF_ID, F.CODICE_FISCALE, F.ALBO, F.PROVINCIA_ALBO, F.NUMERO_ISCRIZIONE");

// The columns of a company (IMPRESE row I) and of the link's municipality (COMUNI row C).
inline const QString kCompanyColumns =
    QStringLiteral("I.ID_IMPRESA AS FIRM_ID, I.PARTITA_IVA, I.DENOMINAZIONE, C.ID AS COMUNE_ID, C.CODICE");

// A row of a statement read by column name, written as in the statement (upper case here).
class StatementRow
{
public:
    explicit StatementRow(const Statement& s) : m_s(s)
    {
        for (int i = 0; i < s.columnCount(); ++i)
            m_index.insert(s.columnName(i), i);
    }
    QVariant value(const QString& column) const
    {
        const int i = m_index.value(column, -1);
        return i < 0 ? QVariant() : m_s.value(i);
    }

private:
    const Statement& m_s;
    QHash<QString, int> m_index;
};

inline QString textOf(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

// Views give dates as QDate, statements as the stored ISO text.
inline QDate dateOf(const QVariant& v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

template <typename Row> SoggettoData soggettoFrom(const Row& r)
{
    SoggettoData s;
    s.tipo = textOf(r.value(QStringLiteral("TIPO_RICHIEDENTE")));
    s.cf = textOf(r.value(QStringLiteral("PERS_CF")));
    s.cognome = textOf(r.value(QStringLiteral("PERS_COGNOME")));
    s.nome = textOf(r.value(QStringLiteral("PERS_NOME")));
    s.sesso = textOf(r.value(QStringLiteral("PERS_SESSO")));
    s.dnascita = dateOf(r.value(QStringLiteral("PERS_DNASCITA")));
    s.denominazione = textOf(r.value(QStringLiteral("AZ_DENOMINAZIONE")));
    s.codiceComune = textOf(r.value(QStringLiteral("CODICE_COMUNE")));
    s.codiceComuneAz = textOf(r.value(QStringLiteral("CODICE_COMUNE_AZ")));
    return s;
}

template <typename Row> RichiestaData richiestaFrom(const Row& r)
{
    RichiestaData d;
    d.tipoRec = textOf(r.value(QStringLiteral("TIPO_REC")));
    d.qualificaRichiedente = textOf(r.value(QStringLiteral("QUALIFICA_RICHIEDENTE")));
    d.tipologiaIntervento = textOf(r.value(QStringLiteral("TIPOLOGIA_INTERVENTO")));
    d.numeroProtocollo = textOf(r.value(QStringLiteral("NUMERO_PROTOCOLLO")));
    d.tipologiaRichiesta = textOf(r.value(QStringLiteral("TIPOLOGIA_RICHIESTA")));
    d.dataPresentazione = dateOf(r.value(QStringLiteral("DATA_PRESENTAZIONE")));
    d.dataInizio = dateOf(r.value(QStringLiteral("DATA_INIZIO")));
    d.dataFine = dateOf(r.value(QStringLiteral("DATA_FINE")));
    d.indirizzo = textOf(r.value(QStringLiteral("INDIRIZZO")));
    return d;
}

template <typename Row> CatastoData catastoFrom(const Row& r)
{
    CatastoData c;
    c.tipoUnita = textOf(r.value(QStringLiteral("TIPO_UNITA")));
    c.sezione = textOf(r.value(QStringLiteral("SEZIONE")));
    c.foglio = textOf(r.value(QStringLiteral("FOGLIO")));
    c.particella = textOf(r.value(QStringLiteral("PARTICELLA")));
    c.estParticella = textOf(r.value(QStringLiteral("EST_PARTICELLA")));
    c.tipoParticella = textOf(r.value(QStringLiteral("TIPO_PARTICELLA")));
    c.subalterno = textOf(r.value(QStringLiteral("SUBALTERNO")));
    return c;
}

template <typename Row> ProfessionistaData professionistaFrom(const Row& r)
{
    ProfessionistaData p;
    p.codiceFiscale = textOf(r.value(QStringLiteral("CODICE_FISCALE")));
    p.albo = r.value(QStringLiteral("ALBO"));
    p.provinciaAlbo = textOf(r.value(QStringLiteral("PROVINCIA_ALBO")));
    p.numeroIscrizione = textOf(r.value(QStringLiteral("NUMERO_ISCRIZIONE")));
    return p;
}

template <typename Row> ImpresaData impresaFrom(const Row& r)
{
    ImpresaData i;
    i.partitaIva = textOf(r.value(QStringLiteral("PARTITA_IVA")));
    i.denominazione = textOf(r.value(QStringLiteral("DENOMINAZIONE")));
    return i;
}

} // namespace zol::transmission_detail
