// Writes to several tables inside one transaction, optionally commits, says "ready" and waits
// to be killed. Used by the crash test.
#include "archive/Tdm.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool commit = QByteArray(argv[2]) == "commit";
    zol::Tdm dm(QString::fromLocal8Bit(argv[1]));
    dm.DataModuleCreate();
    if (!dm.StartTransaction())
        return 3;
    dm.ttDENUNCE.append();
    dm.ttDENUNCE.setValue(QStringLiteral("ANNO"), 2012);
    bool ok = dm.ttDENUNCE.post();
    for (int i = 0; i < 200 && ok; ++i) {
        dm.ttRICHIESTE.append();
        dm.ttRICHIESTE.setValue(QStringLiteral("NUMERO_PROTOCOLLO"), QString::number(i));
        ok = dm.ttRICHIESTE.post();
        dm.ttRICHIEDENTI.append();
        dm.ttRICHIEDENTI.setValue(QStringLiteral("PERS_COGNOME"), QStringLiteral("CRASH %1").arg(i));
        ok = ok && dm.ttRICHIEDENTI.post();
        dm.ttCATASTO.append();
        dm.ttCATASTO.setValue(QStringLiteral("FOGLIO"), QString::number(i));
        ok = ok && dm.ttCATASTO.post();
    }
    if (!ok)
        return 4;
    if (commit && !dm.Commit())
        return 5;
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}
