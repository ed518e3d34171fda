#pragma once

#include "archive/EnteSettings.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace zol {

// The records of the transmission file that the Ente sends to the tax agency: fixed records of
// 368 characters, each beginning with its type and ending with "A"; the file writes them in
// Windows-1252 followed by CR LF. The builders here take plain data and return the record text
// without its line end, or the empty text when the record cannot be built (the reason is then
// in *problem, when asked for). Formatting never depends on the locale.

namespace Transmission {
constexpr int kRecordLength = 368;
constexpr int kBlockLength = 144;
inline const QString kFixedCode = QStringLiteral("ZOLXX29");
inline const QString kApplicantNotFound = QStringLiteral("Richiedente non trovato in archivio");
inline const QString kApplicantKindUnknown = QStringLiteral("Tipo richiedente non riconosciuto");
} // namespace Transmission

// The first width characters of value, filled on the right with blanks up to width. A control
// character (a line break typed into an address) becomes a blank: it would break the record
// apart in the file.
QString Allinea(const QString& value, int width);
QString Allinea(const QVariant& value, int width); // a null value gives blanks

// "ddmmyyyy" for a real date after 30 December 1899, eight blanks otherwise (missing included).
QString FormattaData(const QDate& date);
QString FormattaData(const QVariant& date);

// A row of RICHIEDENTI with the cadastral codes of its two municipalities (empty when the
// municipality has no COMUNI row).
struct SoggettoData
{
    QString tipo; // TIPO_RICHIEDENTE: "P" person, "A" other subject
    QString cf;   // PERS_CF
    QString cognome;
    QString nome;
    QString sesso;
    QDate dnascita;         // invalid when missing
    QString codiceComune;   // CODICE by ID_COMUNE (birth place)
    QString denominazione;  // AZ_DENOMINAZIONE
    QString codiceComuneAz; // CODICE by ID_COMUNE_AZ (seat)
};

// The 144-character block of a person or a company. party null means no RICHIEDENTI row was
// found. Empty (with the message in *problem) when the party is missing or of a kind other
// than "P" and "A".
QString BloccoSoggetto(const SoggettoData* party, QString* problem = nullptr);

// Header ("0") and trailer ("9"): the Ente in company form and the filing's year.
QString RecordTesta(const QString& tipo, const TEnteSettings& ente, int anno);

// A row of RICHIESTE.
struct RichiestaData
{
    QString tipoRec;
    QString qualificaRichiedente;
    QString tipologiaIntervento;
    QString numeroProtocollo;
    QString tipologiaRichiesta;
    QDate dataPresentazione;
    QDate dataInizio;
    QDate dataFine;
    QString indirizzo;
};

// The request record; empty when the applicant's block is empty.
QString RecordRichiesta(const RichiestaData& request, const SoggettoData* applicant, QString* problem = nullptr);

// The two fields every child record repeats from its request: the applicant's codice fiscale
// and the protocol number, both as stored.
struct ChildKey
{
    QString cfRichiedente;
    QString numeroProtocollo;
};

// A beneficiary link: the beneficiary's block and the link's QUALIFICA.
QString RecordBeneficiario(const ChildKey& key, const SoggettoData* beneficiary, const QString& qualifica,
                           QString* problem = nullptr);

// A row of CATASTO; every value a text as stored.
struct CatastoData
{
    QString tipoUnita;
    QString sezione;
    QString foglio;
    QString particella;
    QString estParticella;
    QString tipoParticella;
    QString subalterno;
};

QString RecordCatasto(const ChildKey& key, const CatastoData& unit);

// A row of PROFESSIONISTI.
struct ProfessionistaData
{
    QString codiceFiscale;
    QVariant albo; // integer 1-6, null when missing
    QString provinciaAlbo;
    QString numeroIscrizione;
};

// A professional link; empty when professional is null (no PROFESSIONISTI row).
QString RecordProfessionista(const ChildKey& key, const ProfessionistaData* professional, const QString& qualifica);

// A row of IMPRESE.
struct ImpresaData
{
    QString partitaIva;
    QString denominazione;
};

// A company link with the cadastral code of the municipality chosen on the link; empty when the
// company (null) or the municipality (comuneFound false) has no row.
QString RecordImpresa(const ChildKey& key, const ImpresaData* company, bool comuneFound, const QString& codiceComune);

// Completeness checks of the child records before they are written. "Filled" means something
// other than blanks and control characters; an empty record, or one of the wrong type or
// length, fails.
bool ValidaRecordBeneficiario(const QString& record);
bool ValidaRecordCatasto(const QString& record);
bool ValidaRecordProfessionista(const QString& record);
bool ValidaRecordImpresa(const QString& record);

} // namespace zol
