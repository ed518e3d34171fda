#include "archive/Installer.h"
#include "cli/CliCommand.h"

#include <QDir>

namespace {

int runInit(const QStringList& args)
{
    using namespace zol::cli;
    if (args.size() != 1) {
        err() << "uso: zolctl init CARTELLA\n";
        return 2;
    }
    QString error;
    if (!zol::Installer::createProgramFolder(args.first(), &error)) {
        err() << error << "\n";
        return 1;
    }
    out() << "Nuova installazione creata in " << QDir::toNativeSeparators(QDir(args.first()).absolutePath()) << "\n";
    return 0;
}

} // namespace

ZOL_CLI_COMMAND("init", "init CARTELLA      crea una nuova cartella del programma con l'archivio vuoto", runInit);
