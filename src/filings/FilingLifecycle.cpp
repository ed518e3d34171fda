#include "filings/FilingLifecycle.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "filings/FilingYears.h"

#include <QDate>
#include <QFileInfo>

namespace zol {
namespace {

const QString kTitle = QStringLiteral("ZOL");
const QString kDenunce = QStringLiteral("DENUNCE");

void tell(const QString& text)
{
    ui().message(kTitle, text, Interaction::Icon::Information, Interaction::Ok, Interaction::Ok);
}

void refuse(const QString& text)
{
    ui().message(kTitle, text, Interaction::Icon::Warning, Interaction::Ok, Interaction::Ok);
}

void archiveFailure(const QString& what, const QString& why)
{
    ui().error(what + QLatin1Char('\n') + why, kTitle);
}

QString stato(Tdm& dm)
{
    return dm.ttDENUNCE.text(QStringLiteral("STATO"));
}

} // namespace

QString descrizioneDenuncia(int progressivo, int anno)
{
    return QStringLiteral("Denuncia n. %1 / %2").arg(progressivo).arg(anno);
}

int NextProgressivo(Tdm& dm, int year, bool* ok)
{
    // A query of its own: the shared scratch queries may be in use by the caller.
    Query q(&dm, QStringLiteral("qNextProgressivo"));
    q.setSql(QStringLiteral("select MAX(PROGRESSIVO) from DENUNCE WHERE (ANNO = :anno)"));
    q.setParam(QStringLiteral("anno"), year);
    const bool asked = q.open() && !q.isEmpty();
    if (ok)
        *ok = asked;
    if (!asked)
        return 1;
    return int(q.valueAt(0, 0).toLongLong()) + 1;
}

bool CreateDenuncia(Tdm& dm, int year)
{
    Table& d = dm.ttDENUNCE;
    if (!d.isActive()) {
        archiveFailure(QStringLiteral("Impossibile creare la denuncia: la tabella DENUNCE non è aperta."),
                       dm.startError());
        return false;
    }
    bool numbered = false;
    const int progressivo = NextProgressivo(dm, year, &numbered);
    if (!numbered) {
        archiveFailure(QStringLiteral("Impossibile numerare la nuova denuncia."), dm.db().error().text);
        return false;
    }
    Query open(&dm, QStringLiteral("qDenunciaAperta"));
    open.setSql(QStringLiteral("select ID_DENUNCIA from DENUNCE where ANNO = :anno and STATO = :stato"));
    open.setParam(QStringLiteral("anno"), year);
    open.setParam(QStringLiteral("stato"), QStringLiteral("A"));
    if (!open.open()) {
        archiveFailure(QStringLiteral("Impossibile creare la denuncia."), open.errorString());
        return false;
    }
    if (!open.isEmpty()) {
        refuse(QStringLiteral("Operazione annullata. E' probabile che esiste una denuncia ancora aperta per l'anno ") +
               QString::number(year));
        return false;
    }
    if (d.isEditing())
        d.cancel();
    const bool ok = d.append() && d.setValue(QStringLiteral("ANNO"), year) &&
                    d.setValue(QStringLiteral("DESCRIZIONE"), descrizioneDenuncia(progressivo, year)) &&
                    d.setValue(QStringLiteral("PROGRESSIVO"), progressivo) &&
                    d.setValue(QStringLiteral("DATA_CREAZIONE"), QDate::currentDate()) &&
                    d.setValue(QStringLiteral("STATO"), QStringLiteral("A")) && d.post();
    if (!ok) {
        const QString why = d.errorString();
        d.cancel();
        archiveFailure(QStringLiteral("Impossibile creare la denuncia per l'anno %1.").arg(year), why);
        return false;
    }
    return true;
}

void ChangeYear(Tdm& dm)
{
    Table& d = dm.ttDENUNCE;
    if (!d.isActive() || d.isEmpty())
        return;
    QString typed = QString::number(FilingYears::highestYear);
    if (!ui().inputBox(QStringLiteral("Cambia anno in:"), QStringLiteral("Cambio anno"), typed))
        return;
    bool isNumber = false;
    const int year = typed.trimmed().toInt(&isNumber);
    if (!isNumber) {
        refuse(QStringLiteral("L'anno inserito non è valido"));
        return;
    }
    if (year == d.integer(QStringLiteral("ANNO"))) {
        refuse(typed + QStringLiteral(" è già l'anno di questa denuncia"));
        return;
    }
    if (year > FilingYears::highestYear || year < FilingYears::lowestYear) {
        refuse(QStringLiteral("Anno non consentito"));
        return;
    }
    bool numbered = false;
    const int progressivo = NextProgressivo(dm, year, &numbered);
    if (!numbered) {
        archiveFailure(QStringLiteral("Impossibile numerare la denuncia."), dm.db().error().text);
        return;
    }
    const bool ok = d.edit() && d.setValue(QStringLiteral("ANNO"), year) &&
                    d.setValue(QStringLiteral("PROGRESSIVO"), progressivo) &&
                    d.setValue(QStringLiteral("DESCRIZIONE"), descrizioneDenuncia(progressivo, year)) && d.post();
    if (!ok) {
        const QString why = d.errorString();
        d.cancel();
        archiveFailure(QStringLiteral("Impossibile cambiare l'anno della denuncia."), why);
        return;
    }
    tell(QStringLiteral("L'anno è stato cambiato in: ") + typed);
}

void FileInfo(Tdm& dm)
{
    Table& d = dm.ttDENUNCE;
    if (!d.isActive() || d.isEmpty())
        return;
    const QString refused = guardMessage(stato(dm), FilingOperation::FileInfo);
    if (!refused.isEmpty()) {
        tell(refused);
        return;
    }
    const QString path = d.text(QStringLiteral("NOME_FILE"));
    if (path.isEmpty())
        tell(QStringLiteral("Nessun file associato alla denuncia"));
    else if (QFileInfo(path).isFile())
        tell(QStringLiteral("File: ") + path);
    else
        tell(QStringLiteral("File: ") + path + QStringLiteral(" (Il file è stato Rimosso!!!)"));
}

QString statoLabel(const QVariant& stato)
{
    const QString s = stato.toString();
    if (s == QLatin1String("A"))
        return QStringLiteral("Aperta");
    if (s == QLatin1String("C"))
        return QStringLiteral("Creata");
    if (s == QLatin1String("T"))
        return QStringLiteral("Trasmessa");
    return {};
}

QString statoReportLabel(const QVariant& stato)
{
    const QString s = stato.toString();
    if (s == QLatin1String("A"))
        return QStringLiteral("Aperta");
    if (s == QLatin1String("C"))
        return QStringLiteral("File Creato");
    if (s == QLatin1String("T"))
        return QStringLiteral("Trasmessa");
    return {};
}

QString guardMessage(const QVariant& stato, FilingOperation operation)
{
    const QString s = stato.toString();
    switch (operation) {
    case FilingOperation::NewRequest:
        if (s == QLatin1String("T"))
            return QStringLiteral("Denuncia nello stato <Trasmesso>: operazione non consentita");
        break;
    case FilingOperation::EditRequest:
    case FilingOperation::DeleteRequest:
        if (s == QLatin1String("T"))
            return QStringLiteral("Denuncia nello stato <Trasmessa>: operazione non consentita");
        break;
    case FilingOperation::CopyRequests:
        if (s == QLatin1String("A"))
            return QStringLiteral(
                "Impossibile copiare le richieste da una denuncia ancora Aperta in una'altra denuncia");
        break;
    case FilingOperation::FileInfo:
        if (s == QLatin1String("A"))
            return QStringLiteral("La denuncia è ancora Aperta");
        break;
    case FilingOperation::CreateFile:
    case FilingOperation::Print:
    case FilingOperation::ChangeYear:
        break;
    }
    return {};
}

bool checkFilingGuard(Tdm& dm, FilingOperation operation)
{
    const QString refused = guardMessage(stato(dm), operation);
    if (refused.isEmpty())
        return true;
    refuse(refused);
    return false;
}

} // namespace zol
