#pragma once

#include <QString>
#include <QVariant>

namespace zol {

class Tdm;

// Yearly filings (rows of DENUNCE): their creation, numbering within the year, change of year,
// the file produced from them, their states and what each state allows. The functions work on
// the data module's current filing and tell the user through ui().

// "Denuncia n. <progressivo> / <anno>".
QString descrizioneDenuncia(int progressivo, int anno);

// The number the next filing of year receives: the highest of the year plus one (gaps stay).
// ok, when given, is cleared when the archive could not be asked.
int NextProgressivo(Tdm& dm, int year, bool* ok = nullptr);

// Adds an open filing of year and makes it the current filing. Refused, with a message, while a
// filing of that year is still open; false also when the archive refuses the row.
bool CreateDenuncia(Tdm& dm, int year);

// Asks for a new year for the current filing and gives it the next number of that year.
void ChangeYear(Tdm& dm);

// Tells the user about the transmission file produced from the current filing.
void FileInfo(Tdm& dm);

// Labels of STATO: in the main window's list ("Aperta", "Creata", "Trasmessa") and on the
// filing report ("Aperta", "File Creato", "Trasmessa"); empty for any other value.
QString statoLabel(const QVariant& stato);
QString statoReportLabel(const QVariant& stato);

// The operations of the filing window that depend on the filing's state.
enum class FilingOperation {
    NewRequest,
    EditRequest,
    DeleteRequest,
    CopyRequests,
    CreateFile,
    Print,
    FileInfo,
    ChangeYear,
};

// Why the operation is refused in state stato, or empty when it is allowed.
QString guardMessage(const QVariant& stato, FilingOperation operation);

// Checks the current filing's state before an operation: true when allowed, otherwise shows
// the refusal and returns false.
bool checkFilingGuard(Tdm& dm, FilingOperation operation);

} // namespace zol
