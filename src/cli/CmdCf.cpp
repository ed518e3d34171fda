// zolctl cf: derives and checks codici fiscali.
#include "cli/CliCommand.h"
#include "fiscal/CodiceFiscale.h"

namespace zol::cli {
namespace {

int runCf(const QStringList& args)
{
    const QString sub = args.value(0);
    if (sub == QLatin1String("calc") && args.size() == 6) {
        // An empty line when the data do not suffice: scripts read one line either way.
        out() << CalcolaCodiceFiscale(args.at(1), args.at(2), args.at(3), args.at(4), args.at(5)) << "\n";
        return 0;
    }
    if (sub == QLatin1String("check") && args.size() == 2) {
        const bool valid = ControllaCodiceFiscale(args.at(1));
        out() << (valid ? "valido" : "non valido") << "\n";
        return valid ? 0 : 1;
    }
    err() << "uso: zolctl cf calc COGNOME NOME SESSO GG/MM/AA CODICE_COMUNE\n"
             "     zolctl cf check CODICE_FISCALE\n";
    return 2;
}

} // namespace

ZOL_CLI_COMMAND("cf", "cf calc COGNOME NOME SESSO GG/MM/AA CODICE_COMUNE | cf check CODICE_FISCALE", runCf);

} // namespace zol::cli
