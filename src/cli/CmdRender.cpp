// zolctl render: a catalogue template on the archive of a program folder, to a PDF file.
#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "cli/CliCommand.h"
#include "fiscal/VerificaCodiciFiscali.h"
#include "reports/PrintRoutines.h"
#include "reports/ReportEngine.h"
#include "reports/ReportFunctions.h"

#include <QDir>
#include <QFileInfo>

namespace zol::cli {
namespace {

const char* const kUsage = "render CARTELLA MODELLO --pdf FILE [--denuncia ID]   stampa un modello del catalogo "
                           "sull'archivio della cartella in un file PDF";

// The batch side of the seam: messages go to the terminal, the preview goes to the PDF file.
class RenderInteraction : public QuietInteraction
{
public:
    explicit RenderInteraction(const QString& pdfPath) : m_pdf(pdfPath) {}

    int message(const QString&, const QString& text, Icon icon, int, int defaultButton) override
    {
        (icon == Icon::Error ? err() : out()) << text << "\n";
        return defaultButton == NoButton ? Ok : defaultButton;
    }
    bool previewReport(const ReportRequest& request) override
    {
        QString error;
        rendered = renderReportToPdf(request, m_pdf, &error);
        if (!rendered)
            err() << error << "\n";
        asked = true;
        return rendered;
    }

    bool asked = false;
    bool rendered = false;

private:
    QString m_pdf;
};

const QStringList kCatalogue = {"denuncia.frf",         "richiedenti.frf",         "professionisti.frf", "Imprese.frf",
                                "richieste_elenco.frf", "richieste_dettaglio.frf", "problemi.frf"};

// The criteria print with every year, every type and no participant chosen.
bool printAllRequests(Tdm& dm, const QString& templateName)
{
    Query& q = dm.Q1;
    q.close();
    q.clearParams();
    q.setSql(QStringLiteral("select R.* from RICHIESTE R\n"
                            "join DENUNCE D on (R.ID_DENUNCIA = D.ID_DENUNCIA)\n"
                            "where (ID_RICHIESTA > 0)"));
    if (!q.open()) {
        err() << q.errorString() << "\n";
        return false;
    }
    ReportRequest r;
    r.templatePath = dm.ProgramFolder() + templateName;
    r.variables.insert(QStringLiteral("ENTE"), dm.EnteSettings.DENOMINAZIONE);
    r.variables.insert(QStringLiteral("ANNUALITA"), QStringLiteral("TUTTE"));
    r.variables.insert(QStringLiteral("TIPODOC"), QStringLiteral("TUTTI"));
    r.variables.insert(QStringLiteral("CRITERI"), QString());
    r.master = &q;
    installReportFunctions(dm);
    return ui().previewReport(r);
}

int runRender(const QStringList& args)
{
    QStringList rest = args;
    QString pdf, denuncia;
    for (int i = 0; i < rest.size();) {
        const QString& a = rest.at(i);
        if ((a == QLatin1String("--pdf") || a == QLatin1String("--denuncia")) && i + 1 < rest.size()) {
            (a == QLatin1String("--pdf") ? pdf : denuncia) = rest.at(i + 1);
            rest.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (rest.size() != 2 || pdf.isEmpty()) {
        err() << "uso: zolctl " << kUsage << "\n";
        return 2;
    }
    const QString folder = rest.at(0);
    const QString name = rest.at(1);
    if (!kCatalogue.contains(name)) {
        err() << "Modello sconosciuto: " << name << ". I modelli del catalogo sono: " << kCatalogue.join(", ") << ".\n";
        return 2;
    }
    if (!QFileInfo(folder).isDir()) {
        err() << "La cartella " << QDir::toNativeSeparators(folder) << " non esiste.\n";
        return 1;
    }
    const QString pdfPath = QFileInfo(pdf).absoluteFilePath();
    RenderInteraction batch(pdfPath);
    InteractionGuard guard(&batch);
    Tdm dm(QFileInfo(folder).absoluteFilePath());
    dm.DataModuleCreate();
    if (!dm.startError().isEmpty())
        return 1;
    if (name == QLatin1String("denuncia.frf")) {
        // The filing asked for, or the most recent one.
        Table& d = dm.ttDENUNCE;
        const bool found = denuncia.isEmpty() ? (d.last(), !d.isEmpty())
                                              : d.locate(QStringLiteral("ID_DENUNCIA"), denuncia.toLongLong());
        if (!found) {
            err() << (denuncia.isEmpty() ? QStringLiteral("L'archivio non contiene denunce.")
                                         : QStringLiteral("Nessuna denuncia con ID_DENUNCIA %1.").arg(denuncia))
                  << "\n";
            return 1;
        }
        PrintDenuncia(dm);
    } else if (name == QLatin1String("richiedenti.frf")) {
        PrintRichiedenti(dm);
    } else if (name == QLatin1String("professionisti.frf")) {
        PrintProfessionisti(dm);
    } else if (name == QLatin1String("Imprese.frf")) {
        PrintImprese(dm);
    } else if (name == QLatin1String("problemi.frf")) {
        QString error;
        if (!VerificaCodiciFiscali(dm, &error) && !batch.asked) {
            if (!error.isEmpty()) {
                err() << error << "\n";
                return 1;
            }
            // Nobody to list: the empty list, as the template shows it.
            ui().previewReport({dm.ProgramFolder() + name, {}, &dm.mtProblemi});
        }
    } else {
        printAllRequests(dm, name);
    }
    dm.CloseTables();
    dm.closeConnection();
    if (!batch.rendered)
        return 1;
    out() << "Stampa scritta in " << QDir::toNativeSeparators(pdfPath) << "\n";
    return 0;
}

} // namespace

static const bool registered = registerCommand({QStringLiteral("render"), QString::fromUtf8(kUsage), runRender, true});

} // namespace zol::cli
