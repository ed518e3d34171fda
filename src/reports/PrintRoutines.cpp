#include "reports/PrintRoutines.h"

#include "archive/Tdm.h"
#include "reports/ReportFunctions.h"

namespace zol {

namespace {

ReportRequest registryReport(Tdm& dm, const char* templateName, Dataset* master)
{
    ReportRequest r;
    r.templatePath = dm.ProgramFolder() + QLatin1String(templateName);
    r.variables.insert(QStringLiteral("ENTE"), dm.EnteSettings.DENOMINAZIONE);
    r.master = master;
    return r;
}

bool preview(Tdm& dm, const ReportRequest& request)
{
    installReportFunctions(dm);
    return ui().previewReport(request);
}

} // namespace

QString statoReportLabel(const QString& stato)
{
    if (stato == QLatin1String("A"))
        return QStringLiteral("Aperta");
    if (stato == QLatin1String("C"))
        return QStringLiteral("File Creato");
    if (stato == QLatin1String("T"))
        return QStringLiteral("Trasmessa");
    return QString();
}

ReportRequest denunciaReport(Tdm& dm)
{
    Table& d = dm.ttDENUNCE;
    ReportRequest r = registryReport(dm, "denuncia.frf", &dm.ttRICHIESTE);
    r.variables.insert(QStringLiteral("NOME_DENUNCIA"), d.text(QStringLiteral("DESCRIZIONE")));
    r.variables.insert(QStringLiteral("ANNUALITA"), d.integer(QStringLiteral("ANNO")));
    r.variables.insert(QStringLiteral("PROGRESSIVO"), d.integer(QStringLiteral("PROGRESSIVO")));
    r.variables.insert(QStringLiteral("STATO"), statoReportLabel(d.text(QStringLiteral("STATO"))));
    return r;
}

ReportRequest richiedentiReport(Tdm& dm)
{
    return registryReport(dm, "richiedenti.frf", &dm.ttRICHIEDENTI);
}

ReportRequest professionistiReport(Tdm& dm)
{
    return registryReport(dm, "professionisti.frf", &dm.ttPROFESSIONISTI);
}

ReportRequest impreseReport(Tdm& dm)
{
    return registryReport(dm, "Imprese.frf", &dm.ttIMPRESE);
}

bool PrintDenuncia(Tdm& dm)
{
    return preview(dm, denunciaReport(dm));
}

bool PrintRichiedenti(Tdm& dm)
{
    return preview(dm, richiedentiReport(dm));
}

bool PrintProfessionisti(Tdm& dm)
{
    return preview(dm, professionistiReport(dm));
}

bool PrintImprese(Tdm& dm)
{
    return preview(dm, impreseReport(dm));
}

} // namespace zol
