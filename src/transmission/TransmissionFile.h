#pragma once

#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace zol {

class Tdm;

// Texts of the generation, as the user sees them.
namespace TransmissionText {
inline const QString kContinueQuestion = QStringLiteral("Si vuole continuare lo stesso ?");
inline const QString kProblemsTitle = QStringLiteral("Problemi rilevati");
inline const QString kNoRequests = QStringLiteral("Non vi sono richieste da trasmettere nella denuncia corrente");
inline const QString kCancelled = QStringLiteral("Operazione annullata");
inline const QString kProblemsHeading = QStringLiteral("Sono stati rilevati i seguenti problemi:");
inline const QString kWriteError = QStringLiteral("Si è verificato un errore durante la creazione del file.");
inline const QString kCreatedLine1 = QStringLiteral("Il file è stato creato correttamente nella posizione: ");
inline const QString kCreatedLine3 = QStringLiteral("Adesso sarà aperta la cartella che contiene il file.");
inline const QString kProgressCaption = QStringLiteral("Creazione del file di trasmissione");
} // namespace TransmissionText

struct TransmissionOptions
{
    // Puts a device between the records and the file: it receives the file and returns the
    // device to write to, which passes the bytes on. The tests put one there that fails.
    std::function<std::unique_ptr<QIODevice>(QIODevice* file)> outputFilter;
};

struct TransmissionResult
{
    bool written = false; // the file is complete and the filing is in state "C"
    QString path;         // full path of the file, with the system's separators
};

// Writes the transmission file of the current filing (ttDENUNCE) into the folder
// "Trasmissioni" of the program folder, as "ZOL_<anno>_<progressivo>.txt": deletes the
// incomplete links, runs the codice fiscale consistency check, checks the Ente data and the
// current request, then writes the records of every request of the filing. On success the
// filing remembers the file in NOME_FILE and takes the state "C", the user is told where the
// file is and its folder is opened.
//
// The file is written under a temporary name in the same folder and takes its name only once
// complete: a stop or a failure leaves no partial file and leaves an earlier file of the same
// filing as it was.
TransmissionResult CreaFileTrasmissione(Tdm& dm, const TransmissionOptions& options = {});

// Deletes, in the whole archive, the beneficiary, company and professional links whose
// registry id is empty. Each statement runs on its own; a failure is ignored (it runs again
// next time).
void EliminaLegamiOrfani(Tdm& dm);

// Checks the Ente data and the current request (its applicant, beneficiaries, cadastral
// units, professionals). True when nothing is missing; otherwise shows the problems and
// returns false.
bool ControlliPreliminari(Tdm& dm);

// Tells that a child record of the request numeroProtocollo is incomplete; kind is "B"
// (beneficiary), "C" (cadastral unit), "P" (professional) or "I" (executing company).
void SegnalaIncompletezza(const QString& numeroProtocollo, const QString& kind);
QString incompletezzaMessage(const QString& numeroProtocollo, const QString& kind);

} // namespace zol
