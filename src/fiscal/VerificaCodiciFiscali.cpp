#include "fiscal/VerificaCodiciFiscali.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "fiscal/CodiceFiscale.h"

#include <QDate>

namespace zol {
namespace {

// Every person of the registry whose birth municipality exists, with its cadastral code.
const QString kPersonsQuery = QStringLiteral("select R.*,C.CODICE from RICHIEDENTI R\n"
                                             "join COMUNI C on (R.ID_COMUNE = C.ID)\n"
                                             "where (R.TIPO_RICHIEDENTE = 'P')");

QString ddmmyy(const QDate& d)
{
    return QString::asprintf("%02d/%02d/%02d", d.day(), d.month(), d.year() % 100);
}

} // namespace

bool VerificaCodiciFiscali(Tdm& dm, QString* error)
{
    if (error)
        error->clear();
    MemTable& list = dm.mtProblemi;
    list.open();
    list.emptyTable();
    BusyCursor busy;

    Query& q = dm.Q1;
    q.setSql(kPersonsQuery);
    if (!q.open()) {
        if (error)
            *error = q.errorString();
        return false;
    }
    for (q.first(); !q.eof(); q.next()) {
        const QDate born = q.value(QStringLiteral("PERS_DNASCITA")).toDate();
        const QString stored = q.text(QStringLiteral("PERS_CF"));
        // Without a birth date no code can be derived: the person is listed whatever it holds.
        const bool mismatch =
            !born.isValid() ||
            CalcolaCodiceFiscale(q.text(QStringLiteral("PERS_COGNOME")), q.text(QStringLiteral("PERS_NOME")),
                                 q.text(QStringLiteral("PERS_SESSO")), ddmmyy(born),
                                 q.text(QStringLiteral("CODICE"))) != stored;
        if (mismatch) {
            const bool added = list.append() && list.setValue(QStringLiteral("cognome"), q.value("PERS_COGNOME")) &&
                               list.setValue(QStringLiteral("nome"), q.value("PERS_NOME")) &&
                               list.setValue(QStringLiteral("cf"), q.value("PERS_CF")) &&
                               list.setValue(QStringLiteral("sesso"), q.value("PERS_SESSO")) &&
                               list.setValue(QStringLiteral("dnascita"), q.value("PERS_DNASCITA")) && list.post();
            if (!added) {
                if (error)
                    *error = list.errorString();
                list.cancel();
                q.close();
                return false;
            }
        }
        ui().processEvents();
    }
    q.close();

    if (list.isEmpty())
        return false;
    list.first();
    ui().warning(kCodiciFiscaliProblemMessage);
    ui().previewReport({dm.ProgramFolder() + QStringLiteral("problemi.frf"), {}, &list});
    return true;
}

} // namespace zol
