#include "fiscal/VerificaCodiciFiscali.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "fiscal/CodiceFiscale.h"
#include "fiscal/EventPump.h"

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
    // The columns are found once; the rows are then read by position.
    const int cognome = q.fieldIndex(QStringLiteral("PERS_COGNOME"));
    const int nome = q.fieldIndex(QStringLiteral("PERS_NOME"));
    const int sesso = q.fieldIndex(QStringLiteral("PERS_SESSO"));
    const int nascita = q.fieldIndex(QStringLiteral("PERS_DNASCITA"));
    const int cf = q.fieldIndex(QStringLiteral("PERS_CF"));
    const int codice = q.fieldIndex(QStringLiteral("CODICE"));
    EventPump pump;
    for (int row = 0; row < q.rowCount(); ++row) {
        const auto text = [&](int field) { return q.valueAt(row, field).toString(); };
        const QDate born = q.valueAt(row, nascita).toDate();
        // Without a birth date no code can be derived: the person is listed whatever it holds.
        const bool mismatch = !born.isValid() || CalcolaCodiceFiscale(text(cognome), text(nome), text(sesso),
                                                                      ddmmyy(born), text(codice)) != text(cf);
        if (mismatch) {
            const bool added = list.append() && list.setValue(QStringLiteral("cognome"), q.valueAt(row, cognome)) &&
                               list.setValue(QStringLiteral("nome"), q.valueAt(row, nome)) &&
                               list.setValue(QStringLiteral("cf"), q.valueAt(row, cf)) &&
                               list.setValue(QStringLiteral("sesso"), q.valueAt(row, sesso)) &&
                               list.setValue(QStringLiteral("dnascita"), q.valueAt(row, nascita)) && list.post();
            if (!added) {
                if (error)
                    *error = list.errorString();
                list.cancel();
                q.close();
                return false;
            }
        }
        pump();
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
