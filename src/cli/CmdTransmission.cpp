// zolctl validate: checks a transmission file; zolctl generate: writes the file of a filing.
#include "archive/Tdm.h"
#include "cli/BatchInteraction.h"
#include "cli/CliCommand.h"
#include "transmission/TransmissionFile.h"
#include "transmission/TransmissionValidator.h"

namespace zol::cli {
namespace {

int runValidate(const QStringList& args)
{
    if (args.size() != 1) {
        err() << "uso: zolctl validate FILE\n";
        return 2;
    }
    TransmissionValidator v;
    if (!v.validateFile(args.first())) {
        err() << v.errorString() << "\n";
        return 2;
    }
    if (!v.isValid()) {
        for (const QString& line : v.problemLines())
            out() << line << "\n";
        return 1;
    }
    out() << v.summary() << "\n";
    return 0;
}

int runGenerate(const QStringList& args)
{
    QString folder;
    int anno = 0, progressivo = 0;
    bool continua = false;
    bool ok = true;
    for (int i = 0; i < args.size() && ok; ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--anno") && i + 1 < args.size())
            anno = args.at(++i).toInt(&ok);
        else if (a == QLatin1String("--progressivo") && i + 1 < args.size())
            progressivo = args.at(++i).toInt(&ok);
        else if (a == QLatin1String("--continua"))
            continua = true;
        else if (folder.isEmpty() && !a.startsWith(QLatin1String("--")))
            folder = a;
        else
            ok = false;
    }
    if (!ok || folder.isEmpty() || anno <= 0 || progressivo <= 0) {
        err() << "uso: zolctl generate CARTELLA --anno ANNO --progressivo N [--continua]\n";
        return 2;
    }

    BatchInteraction batch(err());
    InteractionGuard guard(&batch);
    batch.setAnswer(TransmissionText::kContinueQuestion, continua ? Interaction::Yes : Interaction::No);

    Tdm dm(folder);
    dm.DataModuleCreate();
    if (!dm.startError().isEmpty() || !dm.ttDENUNCE.isActive())
        return 1;
    bool found = false;
    for (dm.ttDENUNCE.first(); !dm.ttDENUNCE.eof() && !found;) {
        found = dm.ttDENUNCE.integer(QStringLiteral("ANNO")) == anno &&
                dm.ttDENUNCE.integer(QStringLiteral("PROGRESSIVO")) == progressivo;
        if (!found)
            dm.ttDENUNCE.next();
    }
    if (!found) {
        err() << QStringLiteral("Denuncia n. %1 / %2 non trovata.").arg(progressivo).arg(anno) << "\n";
        return 1;
    }
    dm.ttRICHIESTE.first();
    const TransmissionResult result = CreaFileTrasmissione(dm);
    if (!result.written)
        return 1;
    out() << result.path << "\n";
    return 0;
}

} // namespace

ZOL_CLI_COMMAND("validate", "validate FILE", runValidate);
ZOL_CLI_COMMAND("generate", "generate CARTELLA --anno ANNO --progressivo N [--continua]", runGenerate);

} // namespace zol::cli
