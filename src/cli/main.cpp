#include "cli/CliCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace zol::cli {

static QList<Command>& registry()
{
    static QList<Command> all;
    return all;
}

bool registerCommand(const Command& command)
{
    registry().append(command);
    return true;
}

const QList<Command>& commands()
{
    return registry();
}

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

} // namespace zol::cli

int main(int argc, char* argv[])
{
    using namespace zol::cli;
    // Text layout needs the font database, which only a GUI application has; it runs on the
    // offscreen platform, so zolctl never needs a display.
    bool needsFonts = false;
    for (const Command& c : commands())
        needsFonts = needsFonts || (argc > 1 && c.needsFonts && c.name == QString::fromLocal8Bit(argv[1]));
    if (needsFonts && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(needsFonts ? new QGuiApplication(argc, argv)
                                                     : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("zolctl"));
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("help") || args.first() == QLatin1String("--help")) {
        out() << "uso: zolctl COMANDO [ARGOMENTI]\n";
        for (const Command& c : commands())
            out() << "  zolctl " << c.usage << "\n";
        out().flush();
        return args.isEmpty() ? 2 : 0;
    }
    const QString verb = args.takeFirst();
    for (const Command& c : commands()) {
        if (c.name == verb) {
            const int rc = c.run(args);
            out().flush();
            err().flush();
            return rc;
        }
    }
    err() << "zolctl: comando sconosciuto: " << verb << "\n";
    err().flush();
    return 2;
}
