#pragma once

#include <QString>

namespace zol {

// Lays out a new installation in a program folder: dati/ with the ten tables at the current
// layout (COMUNI filled from the municipality list, the others empty), the report templates
// and the documents. The build uses it for dist/zol/, zolctl init and the tests for theirs.
namespace Installer {

// Refuses a folder whose dati/ already holds a table file; on failure error tells why.
bool createProgramFolder(const QString& folder, QString* error);

// Creates one empty table file at the current layout; false when the file exists already.
bool createTableFile(const QString& path, const QString& table, QString* error);

// The municipalities that come with the program, as CODICE;NOME;PROV;CAP lines.
QStringList municipalityLines();

} // namespace Installer
} // namespace zol
