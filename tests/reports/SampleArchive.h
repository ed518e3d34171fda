#pragma once

#include <QString>

namespace zol {
class Tdm;
}

namespace zol::test {

// A small archive that looks like an office's: two filings (2008 with its file created, 2009
// open), four requests of both kinds, persons and a company among applicants and beneficiaries,
// names with an apostrophe and an accent, professionals linked by their id written as text,
// companies, cadastral units (one with a sheet longer than its printed field). Request 1 has
// the beneficiaries ROSSI MARIO and EDILIZIA ALFA SRL, the professional VERDI LUCA, the company
// COSTRUZIONI BETA SPA and no cadastral unit. Written with SQL on dm's connection; the views are
// refreshed and the filing of 2008 is made current.
bool fillSampleArchive(Tdm& dm, QString* error);

} // namespace zol::test
