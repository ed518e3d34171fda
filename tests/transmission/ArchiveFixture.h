#pragma once

#include "TestFolder.h"

#include "archive/Tdm.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVariant>

#include <memory>

namespace zol::test {

// A fresh program folder with the data module open on it and the Ente filled in; rows are
// added with plain SQL, then show() puts the views on a filing as the filing window does.
class ArchiveFixture
{
public:
    ArchiveFixture();
    bool isValid() const { return m_ok; }
    QString errorString() const { return m_error; }
    Tdm& dm() { return *m_dm; }
    const TestFolder& folder() const { return m_folder; }

    // Runs a statement with positional parameters; the new row's id for an INSERT, -1 on error.
    qlonglong exec(const QString& sql, const QVariantList& params = {});
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    QVariant comune(const QString& codice); // COMUNI.ID of a cadastral code

    // A person whose codice fiscale is derived from its data unless cf is given.
    qlonglong addPerson(const QString& cognome, const QString& nome, const QString& sesso, const QDate& born,
                        const QString& codiceComune, const QVariant& cf = QVariant());
    qlonglong addCompany(const QString& cf, const QString& denominazione, const QString& codiceComuneAz);
    qlonglong addFiling(int anno, int progressivo, const QString& stato = QStringLiteral("A"));
    qlonglong addRequest(qlonglong filing, const QVariant& applicant, const QString& protocollo,
                         const QString& tipoRec = QStringLiteral("1"));
    qlonglong addBeneficiary(qlonglong request, const QVariant& party, const QString& qualifica = QStringLiteral("1"));
    qlonglong addUnit(qlonglong request, const QString& tipo = QStringLiteral("F"), const QString& foglio = "12",
                      const QString& particella = "345");
    qlonglong addProfessional(const QString& cf, int albo = 3);
    qlonglong linkProfessional(qlonglong request, const QVariant& professional, const QString& qualifica = "0");
    qlonglong addImpresa(const QString& partitaIva, const QString& denominazione);
    qlonglong linkImpresa(qlonglong request, const QVariant& impresa, const QVariant& comune);

    // One complete request (a person applicant, one beneficiary, two units, one professional,
    // no company) in a new filing; returns the filing.
    qlonglong completeFiling(int anno = 2007, int progressivo = 1, const QString& protocollo = "45/2007");

    // Re-reads the views and makes filing the current one, with its first request current.
    bool show(qlonglong filing);

    QString transmissionFolder() const { return m_folder.path() + QStringLiteral("Trasmissioni/"); }
    QByteArray readFile(const QString& path) const;

private:
    TestFolder m_folder;
    std::unique_ptr<Tdm> m_dm;
    bool m_ok = false;
    QString m_error;
};

} // namespace zol::test
