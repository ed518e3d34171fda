#include "transmission/TransmissionFile.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "fiscal/CodeLengthRules.h"
#include "fiscal/EventPump.h"
#include "fiscal/VerificaCodiciFiscali.h"
#include "transmission/RowReaders.h"
#include "transmission/TransmissionWriter.h"

#include <QDir>
#include <QSaveFile>
#include <QUrl>

#include <optional>

namespace zol {

using namespace transmission_detail;
using namespace TransmissionText;

namespace {

// The records of one filing are read by five statements, each ordered by request: the requests
// with their applicants, then the beneficiaries, cadastral units, professionals and companies
// of all the filing's requests. The generation walks them side by side, so that it holds one
// row of each at a time whatever the size of the filing.
const QString kRequestsSql = QStringLiteral(
    "SELECT R.ID_RICHIESTA, R.TIPO_REC, R.QUALIFICA_RICHIEDENTE, R.TIPOLOGIA_INTERVENTO, R.NUMERO_PROTOCOLLO, "
    "R.TIPOLOGIA_RICHIESTA, R.DATA_PRESENTAZIONE, R.DATA_INIZIO, R.DATA_FINE, R.INDIRIZZO, %1 "
    "FROM RICHIESTE R LEFT JOIN RICHIEDENTI P ON P.ID_RICHIEDENTE = R.ID_RICHIEDENTE "
    "WHERE R.ID_DENUNCIA = :d ORDER BY R.ID_RICHIESTA");
const QString kBeneficiariesSql = QStringLiteral("SELECT B.ID_RICHIESTA, B.QUALIFICA, %1 FROM BENEFICIARI B "
                                                 "JOIN RICHIESTE R ON R.ID_RICHIESTA = B.ID_RICHIESTA LEFT JOIN "
                                                 "RICHIEDENTI P ON P.ID_RICHIEDENTE = B.ID_RICHIEDENTE "
                                                 "WHERE R.ID_DENUNCIA = :d ORDER BY B.ID_RICHIESTA, B.ID_BENEFICIARIO");
const QString kUnitsSql = QStringLiteral(
    "SELECT U.ID_RICHIESTA, U.TIPO_UNITA, U.SEZIONE, U.FOGLIO, U.PARTICELLA, U.EST_PARTICELLA, U.TIPO_PARTICELLA, "
    "U.SUBALTERNO FROM CATASTO U JOIN RICHIESTE R ON R.ID_RICHIESTA = U.ID_RICHIESTA "
    "WHERE R.ID_DENUNCIA = :d ORDER BY U.ID_RICHIESTA, U.ID_CATASTO");
const QString kProfessionalsSql = QStringLiteral(
    "SELECT M.ID_RICHIESTA, M.QUALIFICA, %1 FROM MDPROF M JOIN RICHIESTE R ON R.ID_RICHIESTA = M.ID_RICHIESTA "
    "LEFT JOIN PROFESSIONISTI F ON F.ID_PROFESSIONISTA = CAST(M.ID_PROFESSIONISTA AS INTEGER) "
    "WHERE R.ID_DENUNCIA = :d ORDER BY M.ID_RICHIESTA, M.ID_MDPROF");
const QString kCompaniesSql =
    QStringLiteral("SELECT M.ID_RICHIESTA, %1 FROM MDIMPR M JOIN RICHIESTE R ON R.ID_RICHIESTA = M.ID_RICHIESTA "
                   "LEFT JOIN IMPRESE I ON I.ID_IMPRESA = M.ID_IMPRESA LEFT JOIN COMUNI C ON C.ID = M.ID_COMUNE "
                   "WHERE R.ID_DENUNCIA = :d ORDER BY M.ID_RICHIESTA, M.ID_MDIMPR");

// One of the five statements, positioned on its current row; column 0 is ID_RICHIESTA.
class Cursor
{
public:
    Cursor(Connection& db, const QString& sql, const QVariant& filing) : m_s(db.prepare(sql))
    {
        if (!m_s.isValid()) {
            m_error = db.error().text;
            return;
        }
        m_s.bind(QStringLiteral(":d"), filing);
        m_row.emplace(m_s);
        advance();
    }
    bool hasRowOf(qlonglong request) const { return m_has && m_s.value(0).toLongLong() == request; }
    bool hasRow() const { return m_has; }
    void advance()
    {
        m_has = m_s.step();
        if (!m_has && m_s.error().isError())
            m_error = m_s.error().text;
    }
    const StatementRow& row() const { return *m_row; }
    QVariant value(const QString& column) const { return m_row->value(column); }
    const QString& error() const { return m_error; }

private:
    Statement m_s;
    std::optional<StatementRow> m_row;
    bool m_has = false;
    QString m_error;
};

struct Message
{
    QString text;
    Interaction::Icon icon;
};

enum class Outcome { Complete, Stopped, Failed };

std::optional<SoggettoData> partyOf(const Cursor& c)
{
    if (c.value(QStringLiteral("PARTY_ID")).isNull())
        return std::nullopt;
    return soggettoFrom(c.row());
}

// Keeps the progress window open for the lifetime of the object.
class ProgressWindow
{
public:
    explicit ProgressWindow(qlonglong total) : m_total(total) { ui().beginProgress(kProgressCaption, label(0)); }
    ~ProgressWindow() { ui().endProgress(); }
    void setDone(qlonglong done)
    {
        const int percent = m_total > 0 ? int(done * 100 / m_total) : 100;
        if (percent != m_percent) {
            m_percent = percent;
            ui().setProgress(label(done), percent);
        }
    }

private:
    QString label(qlonglong done) const { return QStringLiteral("Richiesta %1 di %2").arg(done).arg(m_total); }
    qlonglong m_total;
    int m_percent = 0;
};

// Writes header, the records of every request of the filing and the trailer. Stops at the first
// record that cannot be built or is incomplete, with the messages to show in *messages.
Outcome writeRecords(Tdm& dm, const QVariant& idDenuncia, int anno, qlonglong requests, TransmissionWriter& w,
                     QList<Message>* messages)
{
    const auto plain = [&](const QString& text) {
        if (!text.isEmpty())
            messages->append({text, Interaction::Icon::None});
    };
    const auto incomplete = [&](const ChildKey& key, const char* kind) {
        messages->append({incompletezzaMessage(key.numeroProtocollo, QLatin1String(kind)), Interaction::Icon::Warning});
        return Outcome::Stopped;
    };

    if (!w.writeRecord(RecordTesta(QStringLiteral("0"), dm.EnteSettings, anno)))
        return Outcome::Failed;

    Connection& db = dm.db();
    Cursor req(db, kRequestsSql.arg(kPartyColumns), idDenuncia);
    Cursor ben(db, kBeneficiariesSql.arg(kPartyColumns), idDenuncia);
    Cursor units(db, kUnitsSql, idDenuncia);
    Cursor prof(db, kProfessionalsSql.arg(kProfessionalColumns), idDenuncia);
    Cursor firms(db, kCompaniesSql.arg(kCompanyColumns), idDenuncia);
    const QList<const Cursor*> all{&req, &ben, &units, &prof, &firms};
    const auto failedRead = [&] {
        for (const Cursor* c : all)
            if (!c->error().isEmpty())
                return true;
        return false;
    };

    ProgressWindow progress(requests);
    EventPump pump;
    qlonglong done = 0;
    QString problem;
    for (; req.hasRow(); req.advance()) {
        const qlonglong idRichiesta = req.value(QStringLiteral("ID_RICHIESTA")).toLongLong();
        const std::optional<SoggettoData> applicant = partyOf(req);
        // What the children repeat: the applicant's code as the request's lookup column shows it.
        const ChildKey key{textOf(req.value(QStringLiteral("PERS_CF"))).left(16),
                           textOf(req.value(QStringLiteral("NUMERO_PROTOCOLLO")))};

        problem.clear();
        const QString request = RecordRichiesta(richiestaFrom(req.row()), applicant ? &*applicant : nullptr, &problem);
        if (request.isEmpty()) {
            plain(problem);
            return Outcome::Stopped;
        }
        if (!w.writeRecord(request))
            return Outcome::Failed;

        for (; ben.hasRowOf(idRichiesta); ben.advance()) {
            const std::optional<SoggettoData> party = partyOf(ben);
            problem.clear();
            const QString r = RecordBeneficiario(key, party ? &*party : nullptr,
                                                 textOf(ben.value(QStringLiteral("QUALIFICA"))), &problem);
            plain(problem);
            if (!ValidaRecordBeneficiario(r))
                return incomplete(key, "B");
            if (!w.writeRecord(r))
                return Outcome::Failed;
            pump();
        }
        for (; units.hasRowOf(idRichiesta); units.advance()) {
            const QString r = RecordCatasto(key, catastoFrom(units.row()));
            if (!ValidaRecordCatasto(r))
                return incomplete(key, "C");
            if (!w.writeRecord(r))
                return Outcome::Failed;
            pump();
        }
        for (; prof.hasRowOf(idRichiesta); prof.advance()) {
            std::optional<ProfessionistaData> p;
            if (!prof.value(QStringLiteral("PROF_ID")).isNull())
                p = professionistaFrom(prof.row());
            const QString r =
                RecordProfessionista(key, p ? &*p : nullptr, textOf(prof.value(QStringLiteral("QUALIFICA"))));
            if (!ValidaRecordProfessionista(r))
                return incomplete(key, "P");
            if (!w.writeRecord(r))
                return Outcome::Failed;
            pump();
        }
        for (; firms.hasRowOf(idRichiesta); firms.advance()) {
            std::optional<ImpresaData> firm;
            if (!firms.value(QStringLiteral("FIRM_ID")).isNull())
                firm = impresaFrom(firms.row());
            const QString r =
                RecordImpresa(key, firm ? &*firm : nullptr, !firms.value(QStringLiteral("COMUNE_ID")).isNull(),
                              textOf(firms.value(QStringLiteral("CODICE"))));
            if (!ValidaRecordImpresa(r))
                return incomplete(key, "I");
            if (!w.writeRecord(r))
                return Outcome::Failed;
            pump();
        }
        if (failedRead())
            return Outcome::Failed;
        pump();
        progress.setDone(++done);
    }
    if (failedRead())
        return Outcome::Failed;
    if (!w.writeRecord(RecordTesta(QStringLiteral("9"), dm.EnteSettings, anno)))
        return Outcome::Failed;
    return w.flush() ? Outcome::Complete : Outcome::Failed;
}

} // namespace

QString incompletezzaMessage(const QString& numeroProtocollo, const QString& kind)
{
    QString what;
    if (kind == QLatin1String("B"))
        what = QStringLiteral(". Incompletezza dei dati relativi ad un beneficiario");
    else if (kind == QLatin1String("C"))
        what = QStringLiteral(". Incompletezza di una voce delle unità catastali");
    else if (kind == QLatin1String("P"))
        what = QStringLiteral(". Incompletezza dei dati relativi ad un professionista");
    else if (kind == QLatin1String("I"))
        what = QStringLiteral(". Incompletezza dei dati relativi ad una Impresa esecutrice");
    return QStringLiteral("Protocollo n.") + numeroProtocollo + what;
}

void SegnalaIncompletezza(const QString& numeroProtocollo, const QString& kind)
{
    ui().warning(incompletezzaMessage(numeroProtocollo, kind));
}

void EliminaLegamiOrfani(Tdm& dm)
{
    struct Orphans
    {
        const char* sql;
        Table* view;
    };
    const Orphans statements[] = {
        {"delete from BENEFICIARI where (ID_RICHIEDENTE IS NULL)", &dm.ttBENEFICIARI},
        {"delete from MDIMPR where (ID_IMPRESA IS NULL)", &dm.ttMDIMPR},
        {"delete from MDPROF where (ID_PROFESSIONISTA IS NULL)", &dm.ttMDPROF},
    };
    for (const Orphans& o : statements) {
        dm.Q1.setSql(QString::fromLatin1(o.sql));
        // A failure is left alone: the statement runs again before the next file.
        if (dm.Q1.execSql() && dm.Q1.rowsAffected() > 0 && o.view->isActive())
            o.view->refresh();
    }
}

bool ControlliPreliminari(Tdm& dm)
{
    const TEnteSettings& ente = dm.EnteSettings;
    QStringList lines;
    if (!CodeRules::isEnteCodiceFiscaleTransmittable(ente.CODICEFISCALE))
        lines << CodeRules::kEnteCodiceFiscaleNotTransmittable;
    if (ente.DENOMINAZIONE.trimmed().isEmpty())
        lines << QStringLiteral("Denominazione Ente non valida");
    if (!CodeRules::isEnteBelfioreTransmittable(ente.BELFIORE))
        lines << CodeRules::kEnteBelfioreNotTransmittable;
    if (dm.ttRICHIESTE.integer(QStringLiteral("ID_RICHIEDENTE")) < 1)
        lines << QStringLiteral("Dati richiedente mancanti");
    if (dm.ttBENEFICIARI.isEmpty())
        lines << QStringLiteral("Deve essere dichiarato almeno un Beneficiario");
    if (dm.ttCATASTO.isEmpty())
        lines << QStringLiteral("Deve essere dichiarato almeno una unità Catastale");
    if (dm.ttMDPROF.isEmpty())
        lines << QStringLiteral("Deve essere dichiarato almeno un Professionista");
    if (lines.isEmpty())
        return true;
    QString text = kProblemsHeading + QLatin1Char('\n');
    for (const QString& l : lines)
        text += l + QLatin1Char('\n');
    ui().warning(text);
    return false;
}

TransmissionResult CreaFileTrasmissione(Tdm& dm, const TransmissionOptions& options)
{
    TransmissionResult result;

    EliminaLegamiOrfani(dm);

    QString error;
    if (VerificaCodiciFiscali(dm, &error)) {
        if (ui().message(kProblemsTitle, kContinueQuestion, Interaction::Icon::Question,
                         Interaction::Yes | Interaction::No, Interaction::No) != Interaction::Yes)
            return result;
    } else if (!error.isEmpty()) {
        ui().error(error);
        return result;
    }

    Table& filing = dm.ttDENUNCE;
    const bool onFiling = filing.isActive() && filing.recNo() >= 0 && !filing.eof();
    const QVariant idDenuncia = onFiling ? filing.value(QStringLiteral("ID_DENUNCIA")) : QVariant();
    qlonglong requests = 0;
    if (!idDenuncia.isNull()) {
        const QVariant n =
            dm.db().scalar(QStringLiteral("SELECT COUNT(*) FROM RICHIESTE WHERE ID_DENUNCIA = ?"), {idDenuncia});
        if (!n.isValid() && dm.db().error().isError()) {
            ui().error(dm.db().error().text);
            return result;
        }
        requests = n.toLongLong();
    }
    if (requests == 0) {
        ui().information(kNoRequests);
        return result;
    }

    const int anno = int(filing.integer(QStringLiteral("ANNO")));
    const QString folder = dm.ProgramFolder() + QStringLiteral("Trasmissioni");
    const QString path =
        folder + QStringLiteral("/ZOL_%1_%2.txt").arg(anno).arg(filing.integer(QStringLiteral("PROGRESSIVO")));
    result.path = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(folder)) {
        ui().error(QStringLiteral("Impossibile creare la cartella %1.").arg(QDir::toNativeSeparators(folder)));
        return result;
    }

    // Written beside the final name and renamed over it only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ui().error(QStringLiteral("Impossibile creare il file %1:\n%2").arg(result.path, file.errorString()));
        return result;
    }

    if (!ControlliPreliminari(dm)) {
        file.cancelWriting();
        ui().information(kCancelled);
        return result;
    }

    QList<Message> messages;
    Outcome outcome;
    {
        BusyCursor busy;
        std::unique_ptr<QIODevice> filter = options.outputFilter ? options.outputFilter(&file) : nullptr;
        TransmissionWriter writer(filter ? filter.get() : static_cast<QIODevice*>(&file));
        outcome = writeRecords(dm, idDenuncia, anno, requests, writer, &messages);
        if (outcome == Outcome::Complete && !file.commit())
            outcome = Outcome::Failed;
        if (outcome != Outcome::Complete)
            file.cancelWriting();
    }
    for (const Message& m : messages)
        ui().message(QString(), m.text, m.icon, Interaction::Ok, Interaction::Ok);
    if (outcome == Outcome::Failed)
        ui().error(kWriteError);
    if (outcome != Outcome::Complete)
        return result;

    if (!(filing.edit() && filing.setValue(QStringLiteral("NOME_FILE"), result.path) &&
          filing.setValue(QStringLiteral("STATO"), QStringLiteral("C")) && filing.post())) {
        const QString why = filing.errorString();
        filing.cancel();
        ui().error(why);
        return result;
    }
    result.written = true;
    ui().information(kCreatedLine1 + QLatin1Char('\n') + result.path + QLatin1Char('\n') + kCreatedLine3);
    ui().openUrl(QUrl::fromLocalFile(folder));
    return result;
}

} // namespace zol
