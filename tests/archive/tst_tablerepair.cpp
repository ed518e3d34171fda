#include "ScriptedInteraction.h"
#include "TestFolder.h"

#include "archive/Connection.h"
#include "archive/Tdm.h"

#include <QFile>
#include <QTest>

using namespace zol;

namespace {

constexpr int kPageSize = 4096;

// Fills CATASTO with n cadastral units, one request each, all with distinct texts.
void fillCatasto(const QString& dataPath, int n)
{
    Connection c;
    QVERIFY(c.open(dataPath + QStringLiteral("CATASTO.DAT")));
    QVERIFY(c.exec(QStringLiteral("BEGIN")));
    for (int i = 1; i <= n; ++i)
        QVERIFY(c.exec(
            QStringLiteral("INSERT INTO CATASTO (ID_RICHIESTA, TIPO_UNITA, SEZIONE, FOGLIO, PARTICELLA, SUBALTERNO) "
                           "VALUES (?, 'F', 'A', ?, ?, ?)"),
            QVariantList{i, QString::number(i % 99999), QString::number(i * 7 % 99999), QString::number(i % 9999)}));
    QVERIFY(c.exec(QStringLiteral("COMMIT")));
}

// Page numbers (1-based) of the file whose b-tree page type byte is type: 0x0D table leaf, 0x0A index leaf, 0x02 index
// interior.
QList<int> pagesOfType(const QString& path, char type)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray all = f.readAll();
    QList<int> pages;
    for (int p = 2; p * kPageSize <= all.size(); ++p)
        if (all.at((p - 1) * kPageSize) == type)
            pages << p;
    return pages;
}

int cellsOnPage(const QString& path, int page)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    f.seek(qint64(page - 1) * kPageSize + 3);
    const QByteArray b = f.read(2);
    return (uchar(b[0]) << 8) | uchar(b[1]);
}

void overwrite(const QString& path, qint64 offset, int length)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(offset);
    QByteArray junk(length, '\0');
    for (int i = 0; i < length; ++i)
        junk[i] = char(0xA5 ^ (i * 31));
    f.write(junk);
}

const QString kFourLines = QStringLiteral("Attenzione la Tabella \"CATASTO.DAT\" risulta danneggiata\n"
                                          "in modo irreversibile oppure é in uso da un altro\n"
                                          "Utente. Utilizzare il menu Utilità e la funzione\n"
                                          "Riparazione archivi per ripristinarla.");

} // namespace

class TestTableRepair : public QObject
{
    Q_OBJECT

private slots:
    void damagedPageIsRebuilt_data()
    {
        QTest::addColumn<char>("pageType");
        QTest::newRow("index leaf page") << char(0x0A);
        QTest::newRow("table leaf page") << char(0x0D);
    }
    void damagedPageIsRebuilt()
    {
        QFETCH(char, pageType);
        test::TestFolder folder;
        const QString path = folder.dataPath() + QStringLiteral("CATASTO.DAT");
        const int total = 3000;
        fillCatasto(folder.dataPath(), total);
        const QList<int> pages = pagesOfType(path, pageType);
        QVERIFY(pages.size() > 3);
        const int victim = pages.at(pages.size() / 2);
        // Rows on a destroyed table page are lost; a destroyed index page loses nothing.
        const int lost = pageType == 0x0D ? cellsOnPage(path, victim) : 0;
        QVERIFY(pageType != 0x0D || lost > 0);
        overwrite(path, qint64(victim - 1) * kPageSize, 64);

        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY2(ui.messages.isEmpty(), qPrintable(ui.texts().join(QLatin1Char('|'))));
        QCOMPARE(ui.progressCaptions, QStringList{QStringLiteral("Attendere prego ...")});
        QVERIFY(ui.progressLabels.contains(QStringLiteral(" Riparazione Tabella CATASTO.DAT...")));
        QCOMPARE(ui.progressValues.last(), 100);
        QVERIFY(!ui.progressOpen());
        QVERIFY(dm.isTableOpen(QStringLiteral("CATASTO")));

        // Every readable row is back, with its own values, and the file is sound.
        Connection c;
        QVERIFY(c.open(path));
        QCOMPARE(c.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM CATASTO")).toInt(), total - lost);
        QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM CATASTO WHERE FOGLIO <> ID_RICHIESTA % 99999 "
                                         "OR PARTICELLA <> ID_RICHIESTA * 7 % 99999 OR ID_CATASTO <> ID_RICHIESTA"))
                     .toInt(),
                 0);
        QCOMPARE(c.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'IDX_RICHIESTA'")).toInt(),
                 1);
        QCOMPARE(c.scalar(QStringLiteral("PRAGMA user_version")).toInt(), 65536);
        // A new row never takes an id that the table has given before.
        QVERIFY(dm.ttCATASTO.isActive());
        dm.ttDENUNCE.append();
        dm.ttDENUNCE.post();
        dm.ttRICHIESTE.append();
        dm.ttRICHIESTE.post();
        dm.ttCATASTO.append();
        QVERIFY(dm.ttCATASTO.post());
        QVERIFY(dm.ttCATASTO.integer("ID_CATASTO") > total);
        // The damaged file is kept aside.
        QVERIFY(QFile::exists(path + QStringLiteral(".danneggiata")));
    }

    void destroyedHeaderGivesTheMessage()
    {
        test::TestFolder folder;
        fillCatasto(folder.dataPath(), 50);
        const QString path = folder.dataPath() + QStringLiteral("CATASTO.DAT");
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray damaged = QByteArray(100, '\x5A') + f.readAll().mid(100);
        f.close();
        {
            QFile w(path);
            QVERIFY(w.open(QIODevice::WriteOnly));
            w.write(damaged);
        }

        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        dm.DataModuleCreate();
        QVERIFY(ui.messages.size() >= 1);
        QCOMPARE(ui.messages.first().text, kFourLines);
        QCOMPARE(ui.progressCaptions.size(), 1);
        QVERIFY(!dm.ttCATASTO.isActive());
        for (Table* t : dm.views())
            if (t != &dm.ttCATASTO)
                QVERIFY2(t->isActive(), qPrintable(t->name())); // the program goes on with the others
        QCOMPARE(dm.ttCOMUNI.rowCount(), 8182);
        // The damaged file is left as it was, for a specialist.
        QFile after(path);
        after.open(QIODevice::ReadOnly);
        QCOMPARE(after.readAll(), damaged);
    }

    void failureOutsideTheDamageListIsSilent()
    {
        test::TestFolder folder;
        QVERIFY(QFile::remove(folder.dataPath() + QStringLiteral("MDIMPR.DAT")));
        test::ScriptedInteraction ui;
        Tdm dm(folder.path());
        const ArchiveError e =
            ArchiveError::fromSql({14, 14, QStringLiteral("unable to open")}, QStringLiteral("MDIMPR.DAT"));
        QCOMPARE(e.code, int(ArchiveError::TableMissing));
        QVERIFY(!e.isDamage());
        dm.DataModuleCreate();
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(ui.progressCaptions.isEmpty());
        QVERIFY(!dm.ttMDIMPR.isActive());
        QVERIFY(dm.ttCOMUNI.isActive());                                           // opened after it
        QVERIFY(!QFile::exists(folder.dataPath() + QStringLiteral("MDIMPR.DAT"))); // never created
    }

    void damageCodes_data()
    {
        QTest::addColumn<int>("sqlite");
        QTest::addColumn<int>("extended");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("damage");
        QTest::newRow("not a database") << 26 << 26 << "file is not a database" << 8961 << true;
        QTest::newRow("corrupt data") << 11 << 11 << "database disk image is malformed" << 8962 << true;
        QTest::newRow("corrupt index") << 11 << 11 << "wrong # of entries in index IDX_RICHIESTA" << 8965 << true;
        QTest::newRow("read error") << 10 << (10 | (1 << 8)) << "disk I/O error" << 9217 << true;
        QTest::newRow("write error") << 10 << (10 | (3 << 8)) << "disk I/O error" << 9218 << true;
        QTest::newRow("busy") << 5 << 5 << "database is locked" << 10243 << false;
        QTest::newRow("permission") << 3 << 3 << "access permission denied" << 20003 << false;
    }
    void damageCodes()
    {
        QFETCH(int, sqlite);
        QFETCH(int, extended);
        QFETCH(QString, text);
        QFETCH(int, code);
        QFETCH(bool, damage);
        const ArchiveError e = ArchiveError::fromSql({sqlite, extended, text}, QStringLiteral("X.DAT"));
        QCOMPARE(e.code, code);
        QCOMPARE(e.isDamage(), damage);
    }
};

QTEST_GUILESS_MAIN(TestTableRepair)
#include "tst_tablerepair.moc"
