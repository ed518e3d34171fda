#pragma once

#include "transmission/TransmissionRecords.h"

#include <optional>

namespace zol {

class Tdm;

// The record builders on the data module: each reads the current row of its view (ttDENUNCE,
// ttRICHIESTE, ttBENEFICIARI, ttCATASTO, ttMDPROF, ttMDIMPR) and the registry rows it points
// to, and returns the record as TransmissionRecords.h builds it.

// The RICHIEDENTI row of id with the cadastral codes of its municipalities; nullopt when there
// is none (or the archive could not be read: *error then says why).
std::optional<SoggettoData> findSoggetto(Tdm& dm, const QVariant& idRichiedente, QString* error = nullptr);

// The party block of the RICHIEDENTI row of id; empty after showing "Richiedente non trovato in
// archivio" or "Tipo richiedente non riconosciuto" in a plain message box.
QString BloccoSoggetto(Tdm& dm, const QVariant& idRichiedente);

// Header ("0") or trailer ("9") of the current filing, with the Ente of dm.EnteSettings.
QString RecordTesta(Tdm& dm, const QString& tipo);

// The current request; empty when its applicant's block is empty (the message has been shown).
QString RecordRichiesta(Tdm& dm);

// What the child records of the current request repeat: lkCodFisRich and NUMERO_PROTOCOLLO.
ChildKey childKeyOfCurrentRequest(Tdm& dm);

// The current row of the request's beneficiaries, cadastral units, professionals, companies.
QString RecordBeneficiario(Tdm& dm, const ChildKey& key);
QString RecordCatasto(Tdm& dm, const ChildKey& key);
QString RecordProfessionista(Tdm& dm, const ChildKey& key);
QString RecordImpresa(Tdm& dm, const ChildKey& key);

} // namespace zol
