#include "SampleArchive.h"

#include "archive/Tdm.h"

#include <QVariantList>

namespace zol::test {

namespace {

struct Insert
{
    const char* sql;
    QVariantList values;
};

} // namespace

bool fillSampleArchive(Tdm& dm, QString* error)
{
    Connection& db = dm.db();
    const auto comune = [&](const char* code) {
        return db.scalar(QStringLiteral("select ID from COMUNI where CODICE = ?"), {QString::fromLatin1(code)});
    };
    const QVariant roma = comune("H501"), milano = comune("F205"), torino = comune("L219");
    const QVariant none;
    const QList<Insert> rows = {
        {"insert into DENUNCE (ID_DENUNCIA, ANNO, PROGRESSIVO, DESCRIZIONE, DATA_CREAZIONE, STATO, NOME_FILE) "
         "values (?, ?, ?, ?, ?, ?, ?)",
         {1, 2008, 1, "Denuncia n. 1 / 2008", "2008-01-15", "C", "/zol/Trasmissioni/ZOL_2008_1.txt"}},
        {"insert into DENUNCE (ID_DENUNCIA, ANNO, PROGRESSIVO, DESCRIZIONE, DATA_CREAZIONE, STATO, NOME_FILE) "
         "values (?, ?, ?, ?, ?, ?, ?)",
         {2, 2009, 1, "Denuncia n. 1 / 2009", "2009-02-10", "A", none}},
        {"insert into RICHIEDENTI (ID_RICHIEDENTE, TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
         "PERS_DNASCITA, AZ_DENOMINAZIONE, ID_COMUNE, ID_COMUNE_AZ) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {1, "P", "RSSMRA80A01H501U", "ROSSI", "MARIO", "M", "1980-01-01", none, roma, none}},
        {"insert into RICHIEDENTI (ID_RICHIEDENTE, TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
         "PERS_DNASCITA, AZ_DENOMINAZIONE, ID_COMUNE, ID_COMUNE_AZ) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {2, "A", "01234567890", none, none, none, none, "EDILIZIA ALFA SRL", none, milano}},
        {"insert into RICHIEDENTI (ID_RICHIEDENTE, TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
         "PERS_DNASCITA, AZ_DENOMINAZIONE, ID_COMUNE, ID_COMUNE_AZ) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {3, "P", "BNCNNA85M41F205Z", "BIANCHI", "ANNA", "F", "1985-08-01", none, milano, none}},
        {"insert into RICHIEDENTI (ID_RICHIEDENTE, TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
         "PERS_DNASCITA, AZ_DENOMINAZIONE, ID_COMUNE, ID_COMUNE_AZ) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {4, "P", "DNGNCL75C10L219K", "D'ANGELO", QStringLiteral("NICOLÒ"), "M", "1975-03-10", none, torino, none}},
        {"insert into PROFESSIONISTI (ID_PROFESSIONISTA, CODICE_FISCALE, COGNOME, NOME, ALBO, PROVINCIA_ALBO, "
         "NUMERO_ISCRIZIONE) values (?, ?, ?, ?, ?, ?, ?)",
         {1, "VRDLCU70B02F205X", "VERDI", "LUCA", 2, "MI", "1234"}},
        {"insert into PROFESSIONISTI (ID_PROFESSIONISTA, CODICE_FISCALE, COGNOME, NOME, ALBO, PROVINCIA_ALBO, "
         "NUMERO_ISCRIZIONE) values (?, ?, ?, ?, ?, ?, ?)",
         {2, "NRIPLA65C43L219Y", "NERI", "PAOLA", 3, "TO", "5678"}},
        {"insert into IMPRESE (ID_IMPRESA, PARTITA_IVA, DENOMINAZIONE, ID_COMUNE) values (?, ?, ?, ?)",
         {1, "09876543210", "COSTRUZIONI BETA SPA", milano}},
        {"insert into IMPRESE (ID_IMPRESA, PARTITA_IVA, DENOMINAZIONE, ID_COMUNE) values (?, ?, ?, ?)",
         {2, "11223344556", QStringLiteral("IMPIANTI GAMMA SNC - QUALITÀ"), torino}},
    };
    const char* richiesta =
        "insert into RICHIESTE (ID_RICHIESTA, ID_DENUNCIA, TIPO_REC, ID_RICHIEDENTE, QUALIFICA_RICHIEDENTE, "
        "TIPOLOGIA_INTERVENTO, NUMERO_PROTOCOLLO, TIPOLOGIA_RICHIESTA, DATA_PRESENTAZIONE, DATA_INIZIO, DATA_FINE, "
        "INDIRIZZO, DATA_CREAZIONE, NUM_TRASM, PADRE) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 0)";
    const QList<Insert> requests = {
        {richiesta,
         {1, 1, "1", 1, "1", "4", "2008/0001", "0", "2008-01-10", "2008-02-01", "2008-12-20", "VIA ROMA 1",
          "2008-01-15"}},
        {richiesta,
         {2, 1, "2", 2, "4", "2", "2008/0002", "0", "2008-01-12", "2008-03-01", none, "PIAZZA GARIBALDI 12",
          "2008-01-16"}},
        {richiesta,
         {3, 2, "1", 4, "2", "5", "2009/0001", "1", "2009-02-01", none, none, QStringLiteral("VIA SANT'ANNA 3"),
          "2009-02-10"}},
        {richiesta,
         {4, 2, "2", 3, "1", "7", "2009/0002", "0", "2009-02-03", "2009-04-01", "2009-06-30", "CORSO FRANCIA 200",
          "2009-02-10"}},
        {"insert into BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) values (?, ?, ?)", {1, "1", 1}},
        {"insert into BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) values (?, ?, ?)", {1, "2", 2}},
        {"insert into BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) values (?, ?, ?)", {2, "1", 3}},
        {"insert into BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) values (?, ?, ?)", {3, "1", 4}},
        {"insert into BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) values (?, ?, ?)", {4, "3", 1}},
        {"insert into CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, EST_PARTICELLA, "
         "TIPO_PARTICELLA, SUBALTERNO) values (?, ?, ?, ?, ?, ?, ?, ?)",
         {2, "F", none, "12", "345", none, "F", "7"}},
        {"insert into CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, EST_PARTICELLA, "
         "TIPO_PARTICELLA, SUBALTERNO) values (?, ?, ?, ?, ?, ?, ?, ?)",
         {2, "T", "A", "123456", "1", "10", none, none}},
        {"insert into CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, EST_PARTICELLA, "
         "TIPO_PARTICELLA, SUBALTERNO) values (?, ?, ?, ?, ?, ?, ?, ?)",
         {3, "F", none, "5", "100", none, "E", "3"}},
        {"insert into CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, EST_PARTICELLA, "
         "TIPO_PARTICELLA, SUBALTERNO) values (?, ?, ?, ?, ?, ?, ?, ?)",
         {4, "F", "B", "44", "2001", "2", none, "15"}},
        {"insert into MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) values (?, ?, ?)", {1, "1", "2"}},
        {"insert into MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) values (?, ?, ?)", {2, "2", "0"}},
        {"insert into MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) values (?, ?, ?)", {2, "1", "1"}},
        {"insert into MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) values (?, ?, ?)", {4, "2", "2"}},
        {"insert into MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) values (?, ?, ?)", {1, 1, milano}},
        {"insert into MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) values (?, ?, ?)", {2, 1, milano}},
        {"insert into MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) values (?, ?, ?)", {2, 2, torino}},
        {"insert into MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) values (?, ?, ?)", {4, 2, torino}},
    };
    for (const Insert& i : rows + requests) {
        if (!db.exec(QString::fromUtf8(i.sql), i.values)) {
            if (error)
                *error = db.error().text + QStringLiteral(" in: ") + QString::fromUtf8(i.sql);
            return false;
        }
    }
    for (Table* t : dm.views())
        t->refresh();
    dm.ttDENUNCE.first();
    return dm.ttDENUNCE.locate(QStringLiteral("ID_DENUNCIA"), 1);
}

} // namespace zol::test
