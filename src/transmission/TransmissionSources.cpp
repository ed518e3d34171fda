#include "transmission/TransmissionSources.h"

#include "app/Interaction.h"
#include "archive/Tdm.h"
#include "transmission/RowReaders.h"

namespace zol {

using namespace transmission_detail;

namespace {

// Runs a statement of one row keyed by :id; reader gets the row, or nothing when there is none.
template <typename Reader> bool readOne(Tdm& dm, const QString& sql, const QVariant& id, QString* error, Reader reader)
{
    Statement s = dm.db().prepare(sql);
    if (!s.isValid()) {
        if (error)
            *error = dm.db().error().text;
        return false;
    }
    s.bind(QStringLiteral(":id"), id);
    if (s.step()) {
        reader(StatementRow(s));
        return true;
    }
    if (error && s.error().isError())
        *error = s.error().text;
    return false;
}

void showProblem(const QString& problem)
{
    if (!problem.isEmpty())
        ui().message(QString(), problem, Interaction::Icon::None, Interaction::Ok, Interaction::Ok);
}

} // namespace

std::optional<SoggettoData> findSoggetto(Tdm& dm, const QVariant& idRichiedente, QString* error)
{
    std::optional<SoggettoData> found;
    if (idRichiedente.isNull())
        return found;
    readOne(dm, QStringLiteral("SELECT %1 FROM RICHIEDENTI P WHERE P.ID_RICHIEDENTE = :id").arg(kPartyColumns),
            idRichiedente, error, [&](const StatementRow& r) { found = soggettoFrom(r); });
    return found;
}

QString BloccoSoggetto(Tdm& dm, const QVariant& idRichiedente)
{
    const std::optional<SoggettoData> party = findSoggetto(dm, idRichiedente);
    QString problem;
    const QString block = BloccoSoggetto(party ? &*party : nullptr, &problem);
    showProblem(problem);
    return block;
}

QString RecordTesta(Tdm& dm, const QString& tipo)
{
    return RecordTesta(tipo, dm.EnteSettings, int(dm.ttDENUNCE.integer(QStringLiteral("ANNO"))));
}

QString RecordRichiesta(Tdm& dm)
{
    const std::optional<SoggettoData> party = findSoggetto(dm, dm.ttRICHIESTE.value(QStringLiteral("ID_RICHIEDENTE")));
    QString problem;
    const QString record = RecordRichiesta(richiestaFrom(dm.ttRICHIESTE), party ? &*party : nullptr, &problem);
    showProblem(problem);
    return record;
}

ChildKey childKeyOfCurrentRequest(Tdm& dm)
{
    return {textOf(dm.ttRICHIESTE.value(QStringLiteral("lkCodFisRich"))),
            textOf(dm.ttRICHIESTE.value(QStringLiteral("NUMERO_PROTOCOLLO")))};
}

QString RecordBeneficiario(Tdm& dm, const ChildKey& key)
{
    const std::optional<SoggettoData> party =
        findSoggetto(dm, dm.ttBENEFICIARI.value(QStringLiteral("ID_RICHIEDENTE")));
    QString problem;
    const QString record = RecordBeneficiario(key, party ? &*party : nullptr,
                                              textOf(dm.ttBENEFICIARI.value(QStringLiteral("QUALIFICA"))), &problem);
    showProblem(problem);
    return record;
}

QString RecordCatasto(Tdm& dm, const ChildKey& key)
{
    return RecordCatasto(key, catastoFrom(dm.ttCATASTO));
}

QString RecordProfessionista(Tdm& dm, const ChildKey& key)
{
    std::optional<ProfessionistaData> p;
    readOne(dm,
            QStringLiteral("SELECT %1 FROM PROFESSIONISTI F WHERE F.ID_PROFESSIONISTA = CAST(:id AS INTEGER)")
                .arg(kProfessionalColumns),
            dm.ttMDPROF.value(QStringLiteral("ID_PROFESSIONISTA")), nullptr,
            [&](const StatementRow& r) { p = professionistaFrom(r); });
    return RecordProfessionista(key, p ? &*p : nullptr, textOf(dm.ttMDPROF.value(QStringLiteral("QUALIFICA"))));
}

QString RecordImpresa(Tdm& dm, const ChildKey& key)
{
    std::optional<ImpresaData> firm;
    readOne(dm, QStringLiteral("SELECT I.PARTITA_IVA, I.DENOMINAZIONE FROM IMPRESE I WHERE I.ID_IMPRESA = :id"),
            dm.ttMDIMPR.value(QStringLiteral("ID_IMPRESA")), nullptr,
            [&](const StatementRow& r) { firm = impresaFrom(r); });
    bool comuneFound = false;
    QString codice;
    readOne(dm, QStringLiteral("SELECT CODICE FROM COMUNI WHERE ID = :id"),
            dm.ttMDIMPR.value(QStringLiteral("ID_COMUNE")), nullptr, [&](const StatementRow& r) {
                comuneFound = true;
                codice = textOf(r.value(QStringLiteral("CODICE")));
            });
    return RecordImpresa(key, firm ? &*firm : nullptr, comuneFound, codice);
}

} // namespace zol
