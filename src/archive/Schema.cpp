#include "archive/Schema.h"

namespace zol {
namespace {

ColumnDef autoInc(const char* n)
{
    return {QString::fromLatin1(n), ColumnType::AutoInc, 0, false};
}
ColumnDef integer(const char* n, bool legacy = false)
{
    return {QString::fromLatin1(n), ColumnType::Integer, 0, legacy};
}
ColumnDef smallInt(const char* n)
{
    return {QString::fromLatin1(n), ColumnType::SmallInt, 0, false};
}
ColumnDef text(const char* n, int w, bool legacy = false)
{
    return {QString::fromLatin1(n), ColumnType::Text, w, legacy};
}
ColumnDef date(const char* n)
{
    return {QString::fromLatin1(n), ColumnType::Date, 0, false};
}
IndexDef index(const char* n, const char* col, bool unique = false)
{
    return {QString::fromLatin1(n), {QString::fromLatin1(col)}, unique};
}

QList<TableDef> buildTables()
{
    constexpr bool legacy = true;
    QList<TableDef> t;
    // DESCRIZIONE holds "Denuncia n. %d / %d"; NOME_FILE a full path.
    t.append({QStringLiteral("DENUNCE"),
              {autoInc("ID_DENUNCIA"), integer("ANNO"), integer("PROGRESSIVO"), text("DESCRIZIONE", 40),
               date("DATA_CREAZIONE"), text("STATO", 1), text("NOME_FILE", 255)},
              {},
              QStringLiteral("ID_DENUNCIA"),
              QStringLiteral("ID_DENUNCIA"),
              1,
              1});
    t.append({QStringLiteral("RICHIESTE"),
              {autoInc("ID_RICHIESTA"),
               integer("ID_DENUNCIA"),
               text("TIPO_REC", 1),
               integer("ID_RICHIEDENTE"),
               text("QUALIFICA_RICHIEDENTE", 1),
               text("TIPOLOGIA_INTERVENTO", 1),
               text("NUMERO_PROTOCOLLO", 16),
               text("TIPOLOGIA_RICHIESTA", 1),
               date("DATA_PRESENTAZIONE"),
               date("DATA_INIZIO"),
               date("DATA_FINE"),
               text("INDIRIZZO", 35),
               date("DATA_CREAZIONE"),
               smallInt("NUM_TRASM"),
               integer("PADRE"),
               text("TIPO_UNITA", 1, legacy),
               text("SEZIONE", 3, legacy),
               integer("FOGLIO", legacy),
               integer("PARTICELLA", legacy),
               integer("ESTENSIONE_PARTICELLA", legacy),
               text("TIPO_PARTICELLA", 1, legacy),
               integer("SUBALTERNO", legacy),
               integer("ID_PROFESSIONISTA", legacy),
               text("QUALIFICA_PROFESSIONISTA", 1, legacy),
               integer("ID_IMPRESA", legacy),
               text("COMUNE_IMPRESA", 40, legacy),
               text("PROV_IMPRESA", 2, legacy)},
              {index("DENUNCIA_IDX", "ID_DENUNCIA")},
              QStringLiteral("ID_RICHIESTA"),
              QStringLiteral("ID_RICHIESTA"),
              1,
              0});
    t.append({QStringLiteral("RICHIEDENTI"),
              {autoInc("ID_RICHIEDENTE"), text("TIPO_RICHIEDENTE", 1), text("PERS_CF", 16), text("PERS_COGNOME", 26),
               text("PERS_NOME", 25), text("PERS_SESSO", 1), date("PERS_DNASCITA"), text("PERS_CNASCITA", 40, legacy),
               text("PERS_PNASCITA", 2, legacy), text("AZ_DENOMINAZIONE", 50), text("AZ_COMUNE", 40, legacy),
               text("AZ_PROVINCIA", 2, legacy), integer("ID_COMUNE"), integer("ID_COMUNE_AZ")},
              {},
              QStringLiteral("ID_RICHIEDENTE"),
              QStringLiteral("ID_RICHIEDENTE"),
              2,
              0});
    t.append({QStringLiteral("IMPRESE"),
              {autoInc("ID_IMPRESA"), text("PARTITA_IVA", 11), text("DENOMINAZIONE", 50), text("COMUNE", 40, legacy),
               text("PROVINCIA", 2, legacy), integer("ID_COMUNE")},
              {},
              QStringLiteral("ID_IMPRESA"),
              QStringLiteral("ID_IMPRESA"),
              2,
              0});
    t.append({QStringLiteral("PROFESSIONISTI"),
              {autoInc("ID_PROFESSIONISTA"), text("CODICE_FISCALE", 16), text("COGNOME", 26), text("NOME", 25),
               integer("ALBO"), text("PROVINCIA_ALBO", 2), text("NUMERO_ISCRIZIONE", 10)},
              {},
              QStringLiteral("ID_PROFESSIONISTA"),
              QStringLiteral("ID_PROFESSIONISTA"),
              2,
              0});
    t.append({QStringLiteral("BENEFICIARI"),
              {autoInc("ID_BENEFICIARIO"), integer("ID_RICHIESTA"), text("QUALIFICA", 1), integer("ID_RICHIEDENTE")},
              {index("IDX_RICHIESTA", "ID_RICHIESTA")},
              QStringLiteral("ID_BENEFICIARIO"),
              QStringLiteral("ID_BENEFICIARIO"),
              1,
              0});
    t.append(
        {QStringLiteral("CATASTO"),
         {autoInc("ID_CATASTO"), integer("ID_RICHIESTA"), text("TIPO_UNITA", 1), text("SEZIONE", 3), text("FOGLIO", 5),
          text("PARTICELLA", 5), text("EST_PARTICELLA", 4), text("TIPO_PARTICELLA", 1), text("SUBALTERNO", 4)},
         {index("IDX_RICHIESTA", "ID_RICHIESTA")},
         QStringLiteral("ID_CATASTO"),
         QStringLiteral("ID_CATASTO"),
         1,
         0});
    t.append({QStringLiteral("MDPROF"),
              {autoInc("ID_MDPROF"), integer("ID_RICHIESTA"), text("ID_PROFESSIONISTA", 10), text("QUALIFICA", 1)},
              {index("IDX_RICHIESTA", "ID_RICHIESTA")},
              QStringLiteral("ID_MDPROF"),
              QStringLiteral("ID_MDPROF"),
              2,
              0});
    t.append({QStringLiteral("MDIMPR"),
              {autoInc("ID_MDIMPR"), integer("ID_RICHIESTA"), integer("ID_IMPRESA"), integer("ID_COMUNE")},
              {index("IDX_RICHIESTA", "ID_RICHIESTA")},
              QStringLiteral("ID_MDIMPR"),
              QStringLiteral("ID_MDIMPR"),
              2,
              0});
    t.append({QStringLiteral("COMUNI"),
              {text("CODICE", 4), text("NOME", 50), text("PROV", 2), text("CAP", 5), autoInc("ID")},
              {index("ttCOMUNIIndex1", "ID", true), index("idx_nome", "NOME")},
              QStringLiteral("ID"),
              QStringLiteral("NOME, ID"),
              1,
              0});
    return t;
}

} // namespace

const ColumnDef* TableDef::column(const QString& columnName) const
{
    for (const ColumnDef& c : columns)
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList TableDef::createStatements() const
{
    QStringList cols;
    for (const ColumnDef& c : columns)
        cols << c.name + QLatin1Char(' ') + Schema::declaredType(c);
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(name, cols.join(QStringLiteral(", ")));
    for (const IndexDef& i : indexes) {
        // Index names are per database file in SQLite, so the same name may serve several tables.
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), i.name, name,
                        i.columns.join(QStringLiteral(", ")));
    }
    return out;
}

namespace Schema {

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef* table(const QString& name)
{
    for (const TableDef& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString declaredType(const ColumnDef& column)
{
    switch (column.type) {
    case ColumnType::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::SmallInt:
        return QStringLiteral("SMALLINT");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    case ColumnType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(column.width);
    }
    return {};
}

} // namespace Schema
} // namespace zol
