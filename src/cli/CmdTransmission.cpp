// zolctl validate: checks a transmission file.
#include "cli/CliCommand.h"
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

} // namespace

ZOL_CLI_COMMAND("validate", "validate FILE", runValidate);

} // namespace zol::cli
