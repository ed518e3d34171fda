// Measures the report engine on a large archive: "richieste_dettaglio.frf" over every request
// (engine: load, prepare with the report functions, write the PDF) against the floor (the same
// text lines, fonts and positions painted straight to a PDF with QPainter), and the memory the
// prepared pages take.
//
//     bench_reports [--requests N ...]     (default: 1000 and 10000)

#include "SyntheticArchive.h"

#include "archive/Installer.h"
#include "archive/Tdm.h"
#include "reports/ReportEngine.h"
#include "reports/ReportFunctions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

using namespace zol;

namespace {

// Resident memory of the process in MiB (Linux); -1 elsewhere.
double residentMiB(const char* key = "VmRSS:")
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

struct Floor
{
    struct Line
    {
        int style;
        QPointF at;
        QString text;
    };
    QList<QList<Line>> pages;
};

// The text of the prepared pages, taken out before the clock starts.
Floor floorOf(const report::PreparedReport& r)
{
    Floor f;
    for (const report::ReportPage& page : r.pages) {
        QList<Floor::Line> lines;
        for (const report::PageItem& item : page.items)
            for (const report::TextLine& l : item.lines)
                lines.append({item.style, item.rect.topLeft() + QPointF(l.x, l.y), l.text});
        f.pages.append(lines);
    }
    return f;
}

bool paintFloor(const Floor& f, const report::PreparedReport& r, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(int(report::kDotsPerInch));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter p;
    if (!p.begin(&writer))
        return false;
    int current = -1;
    for (int i = 0; i < f.pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        for (const Floor::Line& l : f.pages.at(i)) {
            if (l.style != current) {
                p.setFont(r.styles.at(l.style).font);
                current = l.style;
            }
            p.drawText(l.at, l.text);
        }
    }
    return p.end();
}

int measure(int requests)
{
    QTemporaryDir dir;
    QString error;
    if (!Installer::createProgramFolder(dir.path(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    bench::SyntheticArchiveOptions options;
    options.requests = requests;
    bench::SyntheticArchive archive;
    if (!bench::fillSyntheticArchive(dir.path(), options, &archive, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    Tdm dm(dir.path());
    dm.DataModuleCreate();
    if (!dm.startError().isEmpty())
        return 1;
    installReportFunctions(dm);
    dm.Q1.setSql(QStringLiteral("select R.* from RICHIESTE R\njoin DENUNCE D on (R.ID_DENUNCIA = D.ID_DENUNCIA)\n"
                                "where (ID_RICHIESTA > 0)"));
    if (!dm.Q1.open()) {
        std::fprintf(stderr, "%s\n", qPrintable(dm.Q1.errorString()));
        return 1;
    }

    const double rssBefore = residentMiB();
    QElapsedTimer clock;
    clock.start();
    ReportEngine engine;
    engine.setVariable(QStringLiteral("ENTE"), bench::syntheticEnte().DENOMINAZIONE);
    engine.setVariable(QStringLiteral("ANNUALITA"), QStringLiteral("TUTTE"));
    engine.setVariable(QStringLiteral("TIPODOC"), QStringLiteral("TUTTI"));
    engine.setVariable(QStringLiteral("CRITERI"), QString());
    engine.setDataset(&dm.Q1);
    const QString pdf = dir.filePath(QStringLiteral("dettaglio.pdf"));
    if (!engine.loadFromFile(dm.ProgramFolder() + QStringLiteral("richieste_dettaglio.frf")) ||
        !engine.prepareReport()) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.errorString()));
        return 1;
    }
    const qint64 prepareMs = clock.elapsed();
    const double rssPrepared = residentMiB();
    if (!engine.exportToPdf(pdf)) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.errorString()));
        return 1;
    }
    const qint64 engineMs = clock.elapsed();
    const double rssAfterPdf = residentMiB();

    const report::PreparedReport& r = engine.prepared();
    qint64 lines = 0, items = 0;
    for (const report::ReportPage& page : r.pages) {
        items += page.items.size();
        for (const report::PageItem& item : page.items)
            lines += item.lines.size();
    }
    const Floor floor = floorOf(r);
    const QString floorPdf = dir.filePath(QStringLiteral("floor.pdf"));
    clock.restart();
    if (!paintFloor(floor, r, floorPdf))
        return 1;
    const qint64 floorMs = clock.elapsed();

    std::printf("requests %d: %lld pages, %lld items, %lld text lines\n", requests, qlonglong(r.pages.size()), items,
                lines);
    std::printf("  engine   %7lld ms  (prepare with report functions %lld ms, PDF %lld ms), PDF %.1f MiB\n", engineMs,
                prepareMs, engineMs - prepareMs, QFileInfo(pdf).size() / 1048576.0);
    std::printf("  floor    %7lld ms  (the same lines painted straight to a PDF), PDF %.1f MiB\n", floorMs,
                QFileInfo(floorPdf).size() / 1048576.0);
    std::printf("  ratio    %7.2f\n", double(engineMs) / double(qMax<qint64>(1, floorMs)));
    std::printf("  memory   resident before %.1f MiB, after preparing %.1f MiB (+%.1f, %.1f KiB per page), "
                "after the PDF %.1f MiB\n",
                rssBefore, rssPrepared, rssPrepared - rssBefore,
                (rssPrepared - rssBefore) * 1024.0 / qMax<qlonglong>(1, r.pages.size()), rssAfterPdf);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QList<int> sizes;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args.at(i) == QLatin1String("--requests"))
            sizes << args.at(i + 1).toInt();
    if (sizes.isEmpty())
        sizes = {1000, 10000};
    for (int n : sizes)
        if (int rc = measure(n))
            return rc;
    std::printf("peak resident memory %.1f MiB\n", residentMiB("VmHWM:"));
    return 0;
}
