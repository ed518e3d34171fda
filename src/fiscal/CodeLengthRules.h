#pragma once

#include <QString>

namespace zol {

// The length rules that the entry dialogs, the Ente settings and the transmission pre-check
// apply to fiscal codes. Each compares a length only (an 11-character code is never checked
// for its check digit), except isValidProfessionalCodiceFiscale, which also verifies the check
// character. The texts the callers show when a rule fails are given beside each rule.
namespace CodeRules {

// Applicant search field of the request editor and of the beneficiary dialog: the typed code,
// blanks trimmed, is 11 or 16 characters.
bool isApplicantCodeLength(const QString& typed);
inline const QString kApplicantCodeInvalid = QStringLiteral("Il Codice Fiscale del Richiedente inserito non è valido");

// The kind of applicant a new registry entry made from a typed code gets: "P" (person) for 16
// characters, blanks trimmed, "A" (other subject) for any other length.
QString applicantKindForCode(const QString& typed);

// Professional search field of the professional item dialog: 16 characters, blanks trimmed.
bool isProfessionalCodeLength(const QString& typed);
inline const QString kProfessionalCodeInvalid =
    QStringLiteral("Il Codice Fiscale del Professionista inserito non è valido");

// Company search field of the company item dialog: the partita IVA, blanks trimmed, is 11
// characters.
bool isCompanyVatLength(const QString& typed);
inline const QString kCompanyVatInvalid =
    QStringLiteral("La partita IVA dell'Impresa esecutrice inserita non è valida");

// Professional editor, on saving: CODICE_FISCALE as stored is 16 characters with the right
// check character.
bool isValidProfessionalCodiceFiscale(const QString& code);
inline const QString kProfessionalCodiceFiscaleInvalid = QStringLiteral("Codice fiscale non valido");

// Ente settings, on saving: the Ente's codice fiscale, blanks trimmed, is 11 characters.
bool isEnteCodiceFiscaleLength(const QString& typed);
inline const QString kEnteCodiceFiscaleInvalid = QStringLiteral("Codice Fiscale Ente - valore errato o mancante");

// Ente settings, on saving: the Ente's Belfiore code, blanks trimmed, is not empty.
bool isEnteBelfioreGiven(const QString& typed);
inline const QString kEnteBelfioreMissing = QStringLiteral("Codice belfiore dell'ente - campo obbligatorio");

// Transmission pre-check: the Ente's codice fiscale as stored (not trimmed) is 11 characters.
bool isEnteCodiceFiscaleTransmittable(const QString& stored);
inline const QString kEnteCodiceFiscaleNotTransmittable = QStringLiteral("Codice Fiscale Ente non valido");

// Transmission pre-check: the Ente's Belfiore code, blanks trimmed, is 4 characters.
bool isEnteBelfioreTransmittable(const QString& stored);
inline const QString kEnteBelfioreNotTransmittable = QStringLiteral("Codice belfiore del Comune non valido");

} // namespace CodeRules
} // namespace zol
