#include "reports/ReportFunctions.h"

#include "archive/Tdm.h"
#include "reports/ReportEngine.h"

#include <QPointer>

namespace zol {

namespace {

enum class Fn { Rich, Beneficiari, Professionisti, Imprese, Catasto };

struct FunctionDef
{
    const char* name;
    Fn fn;
    const char* sql;
};

const FunctionDef kFunctions[] = {
    {"RPRICH", Fn::Rich, "select * from RICHIEDENTI where ID_RICHIEDENTE = :id"},
    {"RPBENEFICIARI", Fn::Beneficiari,
     "select R.* from RICHIEDENTI R\n"
     "join BENEFICIARI B on (R.ID_RICHIEDENTE = B.ID_RICHIEDENTE)\n"
     "where (B.ID_RICHIESTA = :id)"},
    {"RPPROFESSIONISTI", Fn::Professionisti,
     "select P.* from PROFESSIONISTI P\n"
     "join MDPROF M on (P.ID_PROFESSIONISTA = CAST(M.ID_PROFESSIONISTA as INTEGER))\n"
     "where (M.ID_RICHIESTA = :id)"},
    {"RPIMPRESE", Fn::Imprese,
     "select I.* from IMPRESE I\n"
     "join MDIMPR M on (I.ID_IMPRESA = M.ID_IMPRESA)\n"
     "where (M.ID_RICHIESTA = :id)"},
    {"RPCATASTO", Fn::Catasto,
     "select * from CATASTO\n"
     "where (ID_RICHIESTA = :id)"},
};

const QChar kCr(13);

// An applicant or beneficiary: a subject ("A") by its name, anyone else as surname and name.
QString partyText(const Dataset& q, int row)
{
    const auto text = [&](const char* field) { return q.valueAt(row, QLatin1String(field)).toString(); };
    const QString name = text("TIPO_RICHIEDENTE") == QLatin1String("A")
                             ? text("AZ_DENOMINAZIONE")
                             : text("PERS_COGNOME") + QLatin1Char(' ') + text("PERS_NOME");
    return name + QStringLiteral(" (") + text("PERS_CF") + QLatin1Char(')');
}

QPointer<Tdm>& installedModule()
{
    static QPointer<Tdm> dm;
    return dm;
}

} // namespace

QString cadastralLine(const QString& tipoUnita, const QString& sezione, const QString& foglio,
                      const QString& particella, const QString& estParticella, const QString& tipoParticella,
                      const QString& subalterno)
{
    const QChar blank(QLatin1Char(' '));
    return tipoUnita + blank + sezione.rightJustified(3, blank) + blank + foglio.rightJustified(5, blank) + blank +
           particella.rightJustified(5, blank) + blank + estParticella.rightJustified(4, blank) + blank +
           tipoParticella.rightJustified(1, blank) + blank + subalterno.rightJustified(4, blank) + blank + kCr;
}

void fr1UserFunction(Tdm& dm, ReportEngine& engine, const QString& name, const QString& p1, const QString& p2,
                     const QString& p3, QVariant& val)
{
    Q_UNUSED(p2);
    Q_UNUSED(p3);
    const FunctionDef* def = nullptr;
    for (const FunctionDef& f : kFunctions)
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            def = &f;
    if (!def)
        return;

    QString error;
    QVariant arg;
    if (!engine.evaluate(p1, arg, &error)) {
        engine.raiseError(error);
        return;
    }
    bool isNumber = false;
    qlonglong id = arg.toLongLong(&isNumber);
    if (!isNumber)
        id = arg.toString().trimmed().toLongLong();

    Query& q = dm.Q2;
    q.close();
    q.clearParams();
    q.setSql(QString::fromLatin1(def->sql));
    q.setParam(QStringLiteral("id"), id);
    if (!q.open()) {
        engine.raiseError(QStringLiteral("lettura dell'archivio non riuscita: %1").arg(q.errorString()));
        q.close();
        return;
    }
    QString text;
    const int rows = q.rowCount();
    const auto field = [&](int row, const char* f) { return q.valueAt(row, QLatin1String(f)).toString(); };
    switch (def->fn) {
    case Fn::Rich:
        if (rows > 0) {
            text = partyText(q, 0);
        } else {
            // No such applicant: empty kind, names and code.
            text = QStringLiteral("  ()");
        }
        break;
    case Fn::Beneficiari:
        for (int r = 0; r < rows; ++r)
            text += partyText(q, r) + kCr;
        break;
    case Fn::Professionisti:
        for (int r = 0; r < rows; ++r)
            text += field(r, "COGNOME") + QLatin1Char(' ') + field(r, "NOME") + QStringLiteral(" (") +
                    field(r, "CODICE_FISCALE") + QLatin1Char(')') + kCr;
        break;
    case Fn::Imprese:
        for (int r = 0; r < rows; ++r)
            text += field(r, "DENOMINAZIONE") + QStringLiteral(" (") + field(r, "PARTITA_IVA") + QLatin1Char(')') + kCr;
        break;
    case Fn::Catasto:
        for (int r = 0; r < rows; ++r)
            text +=
                cadastralLine(field(r, "TIPO_UNITA"), field(r, "SEZIONE"), field(r, "FOGLIO"), field(r, "PARTICELLA"),
                              field(r, "EST_PARTICELLA"), field(r, "TIPO_PARTICELLA"), field(r, "SUBALTERNO"));
        break;
    }
    q.close();
    val = text;
}

void installReportFunctions(Tdm& dm)
{
    installedModule() = &dm;
    ReportEngine::setDefaultUserFunction([](ReportEngine& engine, const QString& name, const QString& p1,
                                            const QString& p2, const QString& p3, QVariant& val) {
        if (Tdm* module = installedModule())
            fr1UserFunction(*module, engine, name, p1, p2, p3, val);
    });
}

} // namespace zol
