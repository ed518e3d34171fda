#include "ArchiveFixture.h"

#include "fiscal/CodiceFiscale.h"

#include <QFile>

namespace zol::test {

ArchiveFixture::ArchiveFixture()
{
    if (!m_folder.isValid()) {
        m_error = m_folder.errorString();
        return;
    }
    m_dm = std::make_unique<Tdm>(m_folder.path());
    m_dm->DataModuleCreate();
    m_dm->EnteSettings.CODICEFISCALE = QStringLiteral("80012340285");
    m_dm->EnteSettings.DENOMINAZIONE = QStringLiteral("COMUNE DI ABANO TERME");
    m_dm->EnteSettings.BELFIORE = QStringLiteral("A001");
    m_ok = m_dm->ttDENUNCE.isActive() && m_dm->mtProblemi.fields().size() == 5;
    if (!m_ok)
        m_error = m_dm->startError();
}

qlonglong ArchiveFixture::exec(const QString& sql, const QVariantList& params)
{
    Connection& db = m_dm->db();
    if (!db.exec(sql, params)) {
        m_error = db.error().text;
        return -1;
    }
    return db.lastInsertRowid();
}

QVariant ArchiveFixture::scalar(const QString& sql, const QVariantList& params)
{
    return m_dm->db().scalar(sql, params);
}

QVariant ArchiveFixture::comune(const QString& codice)
{
    return scalar(QStringLiteral("SELECT ID FROM COMUNI WHERE CODICE = ?"), {codice});
}

qlonglong ArchiveFixture::addPerson(const QString& cognome, const QString& nome, const QString& sesso,
                                    const QDate& born, const QString& codiceComune, const QVariant& cf)
{
    const QString code = QString::asprintf("%02d/%02d/%02d", born.day(), born.month(), born.year() % 100);
    const QVariant stored =
        cf.isValid() ? cf : QVariant(CalcolaCodiceFiscale(cognome, nome, sesso, code, codiceComune));
    return exec(
        QStringLiteral("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, PERS_COGNOME, PERS_NOME, PERS_SESSO, "
                       "PERS_DNASCITA, ID_COMUNE) VALUES ('P', ?, ?, ?, ?, ?, ?)"),
        {stored, cognome, nome, sesso, born, codiceComune.isEmpty() ? QVariant() : comune(codiceComune)});
}

qlonglong ArchiveFixture::addCompany(const QString& cf, const QString& denominazione, const QString& codiceComuneAz)
{
    return exec(QStringLiteral("INSERT INTO RICHIEDENTI (TIPO_RICHIEDENTE, PERS_CF, AZ_DENOMINAZIONE, ID_COMUNE_AZ) "
                               "VALUES ('A', ?, ?, ?)"),
                {cf, denominazione, comune(codiceComuneAz)});
}

qlonglong ArchiveFixture::addFiling(int anno, int progressivo, const QString& stato)
{
    return exec(QStringLiteral("INSERT INTO DENUNCE (ANNO, PROGRESSIVO, DESCRIZIONE, DATA_CREAZIONE, STATO) "
                               "VALUES (?, ?, ?, ?, ?)"),
                {anno, progressivo, QStringLiteral("Denuncia n. %1 / %2").arg(progressivo).arg(anno),
                 QDate(anno, 12, 1), stato});
}

qlonglong ArchiveFixture::addRequest(qlonglong filing, const QVariant& applicant, const QString& protocollo,
                                     const QString& tipoRec)
{
    return exec(QStringLiteral("INSERT INTO RICHIESTE (ID_DENUNCIA, TIPO_REC, ID_RICHIEDENTE, QUALIFICA_RICHIEDENTE, "
                               "TIPOLOGIA_INTERVENTO, NUMERO_PROTOCOLLO, TIPOLOGIA_RICHIESTA, DATA_PRESENTAZIONE, "
                               "DATA_INIZIO, DATA_FINE, INDIRIZZO, NUM_TRASM, PADRE) "
                               "VALUES (?, ?, ?, '1', '4', ?, '0', ?, ?, NULL, 'VIA ROMA 1', 1, 0)"),
                {filing, tipoRec, applicant, protocollo, QDate(2007, 2, 1), QDate(2007, 3, 15)});
}

qlonglong ArchiveFixture::addBeneficiary(qlonglong request, const QVariant& party, const QString& qualifica)
{
    return exec(QStringLiteral("INSERT INTO BENEFICIARI (ID_RICHIESTA, QUALIFICA, ID_RICHIEDENTE) VALUES (?, ?, ?)"),
                {request, qualifica, party});
}

qlonglong ArchiveFixture::addUnit(qlonglong request, const QString& tipo, const QString& foglio,
                                  const QString& particella)
{
    return exec(
        QStringLiteral("INSERT INTO CATASTO (ID_RICHIESTA, TIPO_UNITA, FOGLIO, PARTICELLA) VALUES (?, ?, ?, ?)"),
        {request, tipo.isEmpty() ? QVariant() : QVariant(tipo), foglio.isEmpty() ? QVariant() : QVariant(foglio),
         particella.isEmpty() ? QVariant() : QVariant(particella)});
}

qlonglong ArchiveFixture::addProfessional(const QString& cf, int albo)
{
    return exec(QStringLiteral("INSERT INTO PROFESSIONISTI (CODICE_FISCALE, COGNOME, NOME, ALBO, PROVINCIA_ALBO, "
                               "NUMERO_ISCRIZIONE) VALUES (?, 'BIANCHI', 'ANNA', ?, 'MI', '1234')"),
                {cf, albo});
}

qlonglong ArchiveFixture::linkProfessional(qlonglong request, const QVariant& professional, const QString& qualifica)
{
    return exec(QStringLiteral("INSERT INTO MDPROF (ID_RICHIESTA, ID_PROFESSIONISTA, QUALIFICA) VALUES (?, ?, ?)"),
                {request, professional.isNull() ? QVariant() : QVariant(professional.toString()), qualifica});
}

qlonglong ArchiveFixture::addImpresa(const QString& partitaIva, const QString& denominazione)
{
    return exec(QStringLiteral("INSERT INTO IMPRESE (PARTITA_IVA, DENOMINAZIONE) VALUES (?, ?)"),
                {partitaIva, denominazione});
}

qlonglong ArchiveFixture::linkImpresa(qlonglong request, const QVariant& impresa, const QVariant& comune)
{
    return exec(QStringLiteral("INSERT INTO MDIMPR (ID_RICHIESTA, ID_IMPRESA, ID_COMUNE) VALUES (?, ?, ?)"),
                {request, impresa, comune});
}

qlonglong ArchiveFixture::completeFiling(int anno, int progressivo, const QString& protocollo)
{
    const qlonglong filing = addFiling(anno, progressivo);
    const qlonglong applicant = addPerson("ROSSI", "MARIO", "M", QDate(1980, 1, 1), "H501");
    const qlonglong request = addRequest(filing, applicant, protocollo);
    addBeneficiary(request, addPerson("BIANCHI", "ANNA", "F", QDate(1975, 6, 5), "F205"), "2");
    addUnit(request, "F", "12", "345");
    addUnit(request, "T", "13", "346");
    linkProfessional(request, addProfessional("BNCNNA75H45F205A"), "2");
    return filing;
}

bool ArchiveFixture::show(qlonglong filing)
{
    Tdm& d = *m_dm;
    bool ok =
        d.ttDENUNCE.refresh() && d.ttRICHIEDENTI.refresh() && d.ttPROFESSIONISTI.refresh() && d.ttIMPRESE.refresh();
    ok = ok && d.ttDENUNCE.locate(QStringLiteral("ID_DENUNCIA"), filing);
    ok = ok && d.ttRICHIESTE.refresh();
    d.ttRICHIESTE.first();
    for (Table* t : {&d.ttBENEFICIARI, &d.ttCATASTO, &d.ttMDPROF, &d.ttMDIMPR})
        ok = ok && t->refresh();
    return ok;
}

QByteArray ArchiveFixture::readFile(const QString& path) const
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace zol::test
