#pragma once

#include <QString>

namespace zol {

class Tdm;

// Compares the codice fiscale stored for every person of the applicants' registry (whose birth
// municipality is in COMUNI) with the code derived from the person's own data, and lists in
// dm.mtProblemi every person whose code differs, in the order the archive returns them. When
// someone was listed the user is told and the list is shown through the report "problemi.frf";
// nothing stored is changed.
//
// Returns true when at least one person was listed (message and report shown), false when none
// was. false with *error set when the archive could not be read; nothing was shown then and the
// caller reports the error.
bool VerificaCodiciFiscali(Tdm& dm, QString* error = nullptr);

// The message shown before the list of persons.
inline const QString kCodiciFiscaliProblemMessage = QStringLiteral(
    "Da controlli effettuati sui dati inseriti, sono stati rilevati alcuni problemi sui Codici Fiscali. Adesso sarà "
    "mostrato un elenco dei soggetti per i quali è stato rilevato il problema.");

} // namespace zol
