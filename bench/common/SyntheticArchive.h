#pragma once

#include "archive/EnteSettings.h"

#include <QString>

namespace zol::bench {

// Fills a program folder with a synthetic but realistic archive, for benchmarks and large tests.
//
// Usage:
//     QTemporaryDir dir;
//     QString error;
//     zol::Installer::createProgramFolder(dir.path(), &error);
//     zol::bench::SyntheticArchiveOptions options;
//     options.requests = 10000;
//     zol::bench::SyntheticArchive result;
//     if (!zol::bench::fillSyntheticArchive(dir.path(), options, &result, &error)) ...
//
// It adds one filing (DENUNCE, state "A") of `requests` requests. Each request has its own
// applicant (a person; every tenth one a company), two beneficiaries (persons), two cadastral
// units, one professional and one executing company; professionals and companies come from
// pools of about one per twenty requests. Persons have Italian names (some with an apostrophe or
// an accented letter), a birth municipality taken from COMUNI and the codice fiscale derived
// from their data, so the consistency check finds no problem. `extraPersons` more persons are
// added to RICHIEDENTI without being used by any request.
//
// Everything is written with plain SQL through zol::Connection, one transaction per table file;
// the data module is not needed. The same seed gives the same archive. 10,000 requests take
// about a second.
struct SyntheticArchiveOptions
{
    int anno = 2008;
    int progressivo = 1;
    int requests = 100;
    int extraPersons = 0;
    unsigned seed = 1;
};

struct SyntheticArchive
{
    qlonglong idDenuncia = 0;
    int requests = 0;
    int persons = 0;   // person rows added to RICHIEDENTI (applicants, beneficiaries, extra)
    int companies = 0; // subject rows ("A") added to RICHIEDENTI
    int professionals = 0;
    int imprese = 0;
    // Lines of the transmission file of the filing: header, per request 1 + 2 + 2 + 1 + 1, trailer.
    qlonglong transmissionLines() const { return 2 + qlonglong(requests) * 7; }
};

// programFolder as made by zol::Installer::createProgramFolder (with or without a trailing
// separator). False with *error set when a table file cannot be opened or written; a table
// whose transaction failed is left as it was.
bool fillSyntheticArchive(const QString& programFolder, const SyntheticArchiveOptions& options,
                          SyntheticArchive* result, QString* error);

// The Ente data that fit the synthetic archive (a valid codice fiscale of 11 digits, a
// denominazione and a Belfiore code of four characters).
TEnteSettings syntheticEnte();

} // namespace zol::bench
