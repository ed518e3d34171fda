// Measures the transmission file of a large filing: CreaFileTrasmissione against the floor
// (the same bytes from one SQL statement formatted straight into a buffered file), the peak
// memory of the generation, and the codice fiscale consistency check over 100,000 persons.
//
//     bench_transmission [--requests N] [--persons M]

#include "SyntheticArchive.h"

#include "app/Interaction.h"
#include "archive/Installer.h"
#include "archive/Tdm.h"
#include "fiscal/VerificaCodiciFiscali.h"
#include "transmission/TransmissionFile.h"
#include "transmission/TransmissionValidator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

using namespace zol;

namespace {

// The user of the benchmark: answers every question with its default, lets events through as
// the program does, and counts what it was told.
class BenchInteraction : public QuietInteraction
{
public:
    int message(const QString&, const QString& text, Icon, int, int defaultButton) override
    {
        messages << text;
        return defaultButton;
    }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool openUrl(const QUrl&) override { return true; }
    bool previewReport(const ReportRequest&) override { return true; }
    QStringList messages;
};

// Resident memory in kB, from the kernel's account of this process (Linux).
qlonglong statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(std::strlen(key))).trimmed().split(' ').first().toLongLong();
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// --- The floor: one statement, fields copied into a record buffer, a buffered file.

struct Record
{
    char bytes[370];
    void clear(char type)
    {
        std::memset(bytes, ' ', 368);
        bytes[0] = type;
        bytes[367] = 'A';
        bytes[368] = '\r';
        bytes[369] = '\n';
    }
    // UTF-8 text of the archive into Windows-1252 bytes (the texts here are Latin-1).
    void put(int pos, int width, const unsigned char* text)
    {
        if (!text)
            return;
        char* out = bytes + pos - 1;
        for (int n = 0; *text && n < width; ++n) {
            unsigned c = *text++;
            if (c >= 0xC0 && *text)
                c = ((c & 0x1F) << 6) | (*text++ & 0x3F);
            out[n] = char(c);
        }
    }
    void date(int pos, const unsigned char* iso)
    {
        if (!iso || std::strlen(reinterpret_cast<const char*>(iso)) < 10)
            return;
        char* out = bytes + pos - 1;
        std::memcpy(out, iso + 8, 2);
        std::memcpy(out + 2, iso + 5, 2);
        std::memcpy(out + 4, iso, 4);
    }
};

const char* const kFloorSql =
    "SELECT R.ID_RICHIESTA, 1, R.ID_RICHIESTA, R.TIPO_REC, R.QUALIFICA_RICHIEDENTE, R.TIPOLOGIA_INTERVENTO, "
    "R.NUMERO_PROTOCOLLO, R.TIPOLOGIA_RICHIESTA, R.DATA_PRESENTAZIONE, R.DATA_INIZIO, R.DATA_FINE, R.INDIRIZZO, "
    "P.TIPO_RICHIEDENTE, P.PERS_CF, P.PERS_COGNOME, P.PERS_NOME, P.PERS_SESSO, P.PERS_DNASCITA, P.AZ_DENOMINAZIONE, "
    "C1.CODICE, C2.CODICE FROM RICHIESTE R JOIN RICHIEDENTI P ON P.ID_RICHIEDENTE = R.ID_RICHIEDENTE "
    "LEFT JOIN COMUNI C1 ON C1.ID = P.ID_COMUNE LEFT JOIN COMUNI C2 ON C2.ID = P.ID_COMUNE_AZ WHERE R.ID_DENUNCIA = ?1 "
    "UNION ALL SELECT B.ID_RICHIESTA, 2, B.ID_BENEFICIARIO, B.QUALIFICA, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
    "NULL, P.TIPO_RICHIEDENTE, P.PERS_CF, P.PERS_COGNOME, P.PERS_NOME, P.PERS_SESSO, P.PERS_DNASCITA, "
    "P.AZ_DENOMINAZIONE, C1.CODICE, C2.CODICE FROM BENEFICIARI B JOIN RICHIESTE R ON R.ID_RICHIESTA = B.ID_RICHIESTA "
    "JOIN RICHIEDENTI P ON P.ID_RICHIEDENTE = B.ID_RICHIEDENTE LEFT JOIN COMUNI C1 ON C1.ID = P.ID_COMUNE "
    "LEFT JOIN COMUNI C2 ON C2.ID = P.ID_COMUNE_AZ WHERE R.ID_DENUNCIA = ?1 "
    "UNION ALL SELECT U.ID_RICHIESTA, 3, U.ID_CATASTO, U.TIPO_UNITA, U.SEZIONE, U.FOGLIO, U.PARTICELLA, "
    "U.EST_PARTICELLA, U.TIPO_PARTICELLA, U.SUBALTERNO, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
    "NULL FROM CATASTO U JOIN RICHIESTE R ON R.ID_RICHIESTA = U.ID_RICHIESTA WHERE R.ID_DENUNCIA = ?1 "
    "UNION ALL SELECT M.ID_RICHIESTA, 4, M.ID_MDPROF, F.CODICE_FISCALE, F.ALBO, F.PROVINCIA_ALBO, "
    "F.NUMERO_ISCRIZIONE, M.QUALIFICA, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL "
    "FROM MDPROF M JOIN RICHIESTE R ON R.ID_RICHIESTA = M.ID_RICHIESTA "
    "JOIN PROFESSIONISTI F ON F.ID_PROFESSIONISTA = CAST(M.ID_PROFESSIONISTA AS INTEGER) WHERE R.ID_DENUNCIA = ?1 "
    "UNION ALL SELECT M.ID_RICHIESTA, 5, M.ID_MDIMPR, I.PARTITA_IVA, I.DENOMINAZIONE, C.CODICE, NULL, NULL, NULL, "
    "NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL FROM MDIMPR M "
    "JOIN RICHIESTE R ON R.ID_RICHIESTA = M.ID_RICHIESTA JOIN IMPRESE I ON I.ID_IMPRESA = M.ID_IMPRESA "
    "JOIN COMUNI C ON C.ID = M.ID_COMUNE WHERE R.ID_DENUNCIA = ?1 ORDER BY 1, 2, 3";

void putParty(Record& r, int at, sqlite3_stmt* s)
{
    auto t = [s](int i) { return sqlite3_column_text(s, i); };
    const bool company = t(12) && t(12)[0] == 'A';
    r.put(at, 16, t(13));
    if (company) {
        r.put(at + 80, 60, t(18));
        r.put(at + 140, 4, t(20));
    } else {
        r.put(at + 16, 26, t(14));
        r.put(at + 42, 25, t(15));
        r.put(at + 67, 1, t(16));
        r.date(at + 68, t(17));
        r.put(at + 76, 4, t(19));
    }
}

bool writeFloor(sqlite3* db, qlonglong filing, const TEnteSettings& ente, int anno, const QString& path,
                qlonglong* lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer;
    buffer.reserve(1 << 20);
    Record r;
    Record header;
    header.clear('0');
    std::memcpy(header.bytes + 1, "ZOLXX29", 7);
    header.put(9, 16, reinterpret_cast<const unsigned char*>(ente.CODICEFISCALE.toUtf8().constData()));
    header.put(89, 60, reinterpret_cast<const unsigned char*>(ente.DENOMINAZIONE.toUtf8().constData()));
    header.put(149, 4, reinterpret_cast<const unsigned char*>(ente.BELFIORE.toUtf8().constData()));
    std::snprintf(header.bytes + 152, 5, "%04d", anno);
    header.bytes[156] = ' ';
    buffer.append(header.bytes, 370);
    *lines = 1;

    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, kFloorSql, -1, &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "floor: %s\n", sqlite3_errmsg(db));
        return false;
    }
    sqlite3_bind_int64(s, 1, filing);
    char key[36];
    while (sqlite3_step(s) == SQLITE_ROW) {
        auto t = [s](int i) { return sqlite3_column_text(s, i); };
        const int kind = sqlite3_column_int(s, 1);
        r.clear(char('0' + kind));
        if (kind == 1) {
            putParty(r, 2, s);
            r.put(146, 1, t(4));
            const bool permesso = t(3) && t(3)[0] == '1' && !t(3)[1];
            r.bytes[146] = permesso ? '0' : '1';
            r.put(148, 1, t(5));
            r.put(149, 20, t(6));
            r.put(169, 1, t(7));
            r.date(170, t(8));
            if (permesso)
                r.date(178, t(9));
            r.date(186, t(10));
            r.put(194, 35, t(11));
            std::memcpy(key, r.bytes + 1, 16);
            std::memcpy(key + 16, r.bytes + 148, 20);
        } else {
            std::memcpy(r.bytes + 1, key, 36);
            switch (kind) {
            case 2:
                putParty(r, 38, s);
                r.put(182, 1, t(3));
                break;
            case 3:
                r.put(38, 1, t(3));
                r.put(39, 3, t(4));
                r.put(42, 5, t(5));
                r.put(47, 5, t(6));
                r.put(52, 4, t(7));
                r.put(56, 1, t(8));
                r.put(57, 4, t(9));
                break;
            case 4:
                r.put(38, 16, t(3));
                r.put(54, 1, t(4));
                r.put(55, 2, t(5));
                r.put(57, 10, t(6));
                r.put(67, 1, t(7));
                break;
            case 5:
                r.put(38, 11, t(3));
                r.put(49, 50, t(4));
                r.put(99, 4, t(5));
                break;
            }
        }
        buffer.append(r.bytes, 370);
        ++*lines;
        if (buffer.size() >= (1 << 20)) {
            file.write(buffer);
            buffer.clear();
        }
    }
    sqlite3_finalize(s);
    header.bytes[0] = '9';
    buffer.append(header.bytes, 370);
    ++*lines;
    file.write(buffer);
    return file.flush();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int requests = 10000;
    int persons = 100000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--requests"))
            requests = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--persons"))
            persons = args.at(i + 1).toInt();
    }

    QTemporaryDir dir;
    QString error;
    if (!dir.isValid() || !Installer::createProgramFolder(dir.path(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    bench::SyntheticArchiveOptions options;
    options.requests = requests;
    bench::SyntheticArchive archive;
    QElapsedTimer timer;
    timer.start();
    if (!bench::fillSyntheticArchive(dir.path(), options, &archive, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("archive: %d requests, %d persons, generated in %lld ms\n", archive.requests, archive.persons,
                timer.elapsed());

    BenchInteraction ui;
    InteractionGuard guard(&ui);
    Tdm dm(dir.path());
    dm.DataModuleCreate();
    dm.EnteSettings = bench::syntheticEnte();
    if (!dm.ttDENUNCE.locate(QStringLiteral("ID_DENUNCIA"), archive.idDenuncia)) {
        std::fprintf(stderr, "filing not found: %s\n", qPrintable(dm.startError()));
        return 1;
    }
    dm.ttRICHIESTE.first();

    // Each measure is repeated and the best run kept: the machine is shared.
    constexpr int kRuns = 3;
    qint64 checkMs = -1, generateMs = -1, floorMs = -1;
    const auto best = [](qint64& slot, qint64 ms) { slot = slot < 0 ? ms : qMin(slot, ms); };

    // Peak memory of the first generation (the first run of the codice fiscale check included),
    // above what the process held before it: the data module with its views open.
    const qlonglong rssBefore = statusKb("VmRSS:");
    resetPeak();
    TransmissionResult result;
    qlonglong peak = 0, warmBefore = 0, warmPeak = 0;
    for (int run = 0; run < kRuns; ++run) {
        if (run == 1) {
            warmBefore = statusKb("VmRSS:");
            resetPeak();
        }
        timer.restart();
        result = CreaFileTrasmissione(dm);
        best(generateMs, timer.elapsed());
        if (run == 0)
            peak = statusKb("VmHWM:");
        if (run == 1)
            warmPeak = statusKb("VmHWM:");
        if (!result.written) {
            std::fprintf(stderr, "generation failed: %s\n", qPrintable(ui.messages.join(QLatin1String(" | "))));
            return 1;
        }
    }
    const QString generated = QDir::fromNativeSeparators(result.path);

    // Saving the filing row at the end, on its own: the data module re-reads the filing's
    // requests when its row is posted.
    qint64 postMs = -1;
    for (int run = 0; run < kRuns; ++run) {
        timer.restart();
        dm.ttDENUNCE.edit();
        dm.ttDENUNCE.setValue(QStringLiteral("NOME_FILE"), result.path);
        dm.ttDENUNCE.setValue(QStringLiteral("STATO"), QStringLiteral("C"));
        dm.ttDENUNCE.post();
        best(postMs, timer.elapsed());
    }

    // The codice fiscale check that the generation runs first, on its own.
    for (int run = 0; run < kRuns; ++run) {
        timer.restart();
        VerificaCodiciFiscali(dm);
        best(checkMs, timer.elapsed());
    }

    const QString floorPath = dir.filePath(QStringLiteral("floor.txt"));
    qlonglong floorLines = 0;
    bool floorOk = true;
    for (int run = 0; run < kRuns; ++run) {
        timer.restart();
        floorOk = floorOk && writeFloor(dm.db().handle(), archive.idDenuncia, dm.EnteSettings, options.anno, floorPath,
                                        &floorLines);
        best(floorMs, timer.elapsed());
    }
    const QByteArray bytes = readAll(generated);
    const bool same = floorOk && bytes == readAll(floorPath);

    TransmissionValidator validator;
    validator.validateFile(generated);

    std::printf("CreaFileTrasmissione: %lld lines (%lld bytes) in %lld ms (best of %d); within it about %lld ms "
                "the codice fiscale check of %d persons and %lld ms saving the filing row\n",
                qlonglong(bytes.size() / 370), qlonglong(bytes.size()), qlonglong(generateMs), kRuns,
                qlonglong(checkMs), archive.persons, qlonglong(postMs));
    std::printf("floor (one SQL statement into a buffered file): %lld lines in %lld ms (best of %d); same bytes: %s\n",
                floorLines, qlonglong(floorMs), kRuns, same ? "yes" : "NO");
    const double floor = double(qMax<qint64>(1, floorMs));
    std::printf("ratio to the floor: %.2fx the whole operation, %.2fx its record walk alone\n", generateMs / floor,
                (generateMs - checkMs - postMs) / floor);
    std::printf("memory: resident %lld kB before the first generation, peak %lld kB during it (+%lld kB, the "
                "codice fiscale check's rows included); +%lld kB during a later generation\n",
                rssBefore, peak, peak - rssBefore, warmPeak - warmBefore);
    std::printf("validator: %s\n",
                validator.isValid() ? qPrintable(validator.summary()) : qPrintable(validator.problemLines().value(0)));

    // The consistency check over the whole registry, grown to the number of persons asked.
    const int extra = persons - archive.persons;
    if (extra > 0) {
        bench::SyntheticArchiveOptions more;
        more.requests = 0;
        more.progressivo = 2;
        more.extraPersons = extra;
        more.seed = 2;
        if (!bench::fillSyntheticArchive(dir.path(), more, nullptr, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }
    const qlonglong total = dm.db()
                                .scalar(QStringLiteral("SELECT COUNT(*) FROM RICHIEDENTI WHERE "
                                                       "TIPO_RICHIEDENTE = 'P'"))
                                .toLongLong();
    qint64 allMs = -1;
    for (int run = 0; run < kRuns; ++run) {
        timer.restart();
        VerificaCodiciFiscali(dm);
        best(allMs, timer.elapsed());
    }
    std::printf("VerificaCodiciFiscali: %lld persons in %lld ms (best of %d), %d listed\n", total, qlonglong(allMs),
                kRuns, dm.mtProblemi.rowCount());
    return same && validator.isValid() ? 0 : 1;
}
