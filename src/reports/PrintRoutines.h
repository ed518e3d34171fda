#pragma once

#include "app/Interaction.h"

#include <QString>

namespace zol {

class Tdm;

// The prints of the filing window and of the three registry lists. Each one starts from no
// report variables, sets only its own, points the master data at its data set and asks for
// the preview of its template from the program folder. They return what the preview returned
// (false when the report could not be prepared; the reason has been shown).
bool PrintDenuncia(Tdm& dm);
bool PrintRichiedenti(Tdm& dm);
bool PrintProfessionisti(Tdm& dm);
bool PrintImprese(Tdm& dm);

// What each print hands the preview, for the prints above and zolctl render.
ReportRequest denunciaReport(Tdm& dm);
ReportRequest richiedentiReport(Tdm& dm);
ReportRequest professionistiReport(Tdm& dm);
ReportRequest impreseReport(Tdm& dm);

// STATO of a filing as the filing print shows it: "Aperta", "File Creato", "Trasmessa", or "".
QString statoReportLabel(const QString& stato);

} // namespace zol
