#include "fiscal/VerificaCodiciFiscali.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "fiscal/CodiceFiscale.h"
#include "fiscal/EventPump.h"

#include <QDate>
#include <QHash>

namespace zol {
namespace {

// Every person of the registry whose birth municipality exists, with its cadastral code.
const QString kPersonsQuery = QStringLiteral("select R.*,C.CODICE from RICHIEDENTI R\n"
                                             "join COMUNI C on (R.ID_COMUNE = C.ID)\n"
                                             "where (R.TIPO_RICHIEDENTE = 'P')");

} // namespace

bool VerificaCodiciFiscali(Tdm& dm, QString* error)
{
    if (error)
        error->clear();
    MemTable& list = dm.mtProblemi;
    list.open();
    list.emptyTable();
    BusyCursor busy;

    // The persons are read one at a time, so that memory does not grow with the registry.
    Statement q = dm.db().prepare(kPersonsQuery);
    if (!q.isValid()) {
        if (error)
            *error = dm.db().error().text;
        return false;
    }
    // The columns are found once; the rows are then read by position.
    QHash<QString, int> column;
    for (int i = 0; i < q.columnCount(); ++i)
        column.insert(q.columnName(i).toUpper(), i);
    const int cognome = column.value(QStringLiteral("PERS_COGNOME"));
    const int nome = column.value(QStringLiteral("PERS_NOME"));
    const int sesso = column.value(QStringLiteral("PERS_SESSO"));
    const int nascita = column.value(QStringLiteral("PERS_DNASCITA"));
    const int cf = column.value(QStringLiteral("PERS_CF"));
    const int codice = column.value(QStringLiteral("CODICE"));
    EventPump pump;
    while (q.step()) {
        const auto text = [&](int field) { return q.value(field).toString(); };
        const QDate born = QDate::fromString(text(nascita).left(10), Qt::ISODate);
        // Without a birth date no code can be derived: the person is listed whatever it holds.
        const bool mismatch =
            !born.isValid() || CalcolaCodiceFiscale(text(cognome), text(nome), text(sesso), DataPerCodiceFiscale(born),
                                                    text(codice)) != text(cf);
        if (mismatch) {
            const bool added =
                list.append() && list.setValue(QStringLiteral("cognome"), q.value(cognome)) &&
                list.setValue(QStringLiteral("nome"), q.value(nome)) &&
                list.setValue(QStringLiteral("cf"), q.value(cf)) &&
                list.setValue(QStringLiteral("sesso"), q.value(sesso)) &&
                list.setValue(QStringLiteral("dnascita"), born.isValid() ? QVariant(born) : QVariant()) && list.post();
            if (!added) {
                if (error)
                    *error = list.errorString();
                list.cancel();
                return false;
            }
        }
        pump();
    }
    if (q.error().isError()) {
        if (error)
            *error = q.error().text;
        return false;
    }

    if (list.isEmpty())
        return false;
    list.first();
    ui().warning(kCodiciFiscaliProblemMessage);
    ui().previewReport({dm.ProgramFolder() + QStringLiteral("problemi.frf"), {}, &list});
    return true;
}

} // namespace zol
