#pragma once

#include <QString>
#include <QVariant>

namespace zol {

class ReportEngine;
class Tdm;

// The handler of the function names the report engine does not know: the five report functions
// through which a template obtains the participants and the cadastral units of a request as text.
//
//   RPRICH(applicant id)           name (CF)                       no line end
//   RPBENEFICIARI(request id)      name (CF)               per beneficiary, each ending with '\r'
//   RPPROFESSIONISTI(request id)   COGNOME NOME (CODICE_FISCALE)   per professional, '\r'
//   RPIMPRESE(request id)          DENOMINAZIONE (PARTITA_IVA)     per company, '\r'
//   RPCATASTO(request id)          the cadastral line              per unit, '\r'
//
// The first argument is evaluated on the record being printed; the other two are ignored. Each
// call runs its statement afresh on dm.Q2 (never the master data source, which stays where it
// is) and leaves Q2 closed. Any other name leaves val as it came. A failed read of the archive
// stops the preparation of the report with the reason.
void fr1UserFunction(Tdm& dm, ReportEngine& engine, const QString& name, const QString& p1, const QString& p2,
                     const QString& p3, QVariant& val);

// Makes fr1UserFunction on dm the handler of every report engine created from now on. When the
// data module is destroyed the handler answers nothing.
void installReportFunctions(Tdm& dm);

// One cadastral unit as printed: the unit type, then section, sheet, parcel, extension, parcel
// type and sub-unit right-aligned in 3, 5, 5, 4, 1 and 4 characters (a longer value whole),
// each followed by one blank, then '\r'.
QString cadastralLine(const QString& tipoUnita, const QString& sezione, const QString& foglio,
                      const QString& particella, const QString& estParticella, const QString& tipoParticella,
                      const QString& subalterno);

} // namespace zol
