#pragma once

#include <QString>

namespace zol {

// The Ente's identity and the two start-up values, as read from ZOL.INI at start and written
// back at the end. Fields are named after the keys of the settings file.
struct TEnteSettings
{
    // Section ENTE
    QString DENOMINAZIONE = QStringLiteral("COMUNE DI ...");
    QString INDIRIZZO;
    QString CAP;
    QString CITTA;
    QString PROVINCIA;
    QString CODICEFISCALE;
    QString TEL;
    QString FAX;
    QString EMAIL;
    QString RESPONSABILE;
    QString BELFIORE;
    // Section ESEG
    bool PRIMAESECUZIONE = true;
    int PROVAUPDATE = 0; // days since 30 December 1899
};

} // namespace zol
