#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace zol::cli {

// One verb of zolctl. Each command file registers itself with ZOL_CLI_COMMAND, so that adding a
// command touches no other file.
struct Command
{
    QString name;
    QString usage;                                   // shown by "zolctl help", one line per form
    std::function<int(const QStringList& args)> run; // args after the verb; returns the exit code
    bool needsFonts = false; // lays out text (reports): runs with a GUI application, without a display
};

bool registerCommand(const Command& command);
const QList<Command>& commands();

QTextStream& out();
QTextStream& err();

} // namespace zol::cli

#define ZOL_CLI_CONCAT2(a, b) a##b
#define ZOL_CLI_CONCAT(a, b) ZOL_CLI_CONCAT2(a, b)
#define ZOL_CLI_COMMAND(NAME, USAGE, FN)                                                                               \
    static const bool ZOL_CLI_CONCAT(zolCliRegistered_, __LINE__) =                                                    \
        zol::cli::registerCommand({QStringLiteral(NAME), QStringLiteral(USAGE), FN})
