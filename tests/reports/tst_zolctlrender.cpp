#include "SampleArchive.h"
#include "TestFolder.h"

#include "archive/Tdm.h"

#include <QProcess>
#include <QtTest>

using namespace zol;

// zolctl render on a program folder with the sample archive: exit code, messages, PDF text.
class TestZolctlRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void render_data();
    void render();
    void brokenTemplateNamed();

private:
    int run(const QStringList& args, QString* out, QString* err);
    QString pdfText(const QString& pdf);

    test::TestFolder m_folder;
    QTemporaryDir m_out;
};

void TestZolctlRender::initTestCase()
{
    QVERIFY2(m_folder.isValid(), qPrintable(m_folder.errorString()));
    Tdm dm(m_folder.path());
    dm.DataModuleCreate();
    QString error;
    QVERIFY2(test::fillSampleArchive(dm, &error), qPrintable(error));
    dm.CloseTables();
    dm.closeConnection();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
}

int TestZolctlRender::run(const QStringList& args, QString* out, QString* err)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_out.path()); // no warning about it on stderr
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZOLCTL_PATH), args);
    if (!p.waitForFinished(60000))
        return -1;
    *out = QString::fromUtf8(p.readAllStandardOutput());
    *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString TestZolctlRender::pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

void TestZolctlRender::render_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // in the PDF, or on the terminal when the exit code is not 0
    const auto row = [](const char* tag, const QStringList& args, int code, const QString& printed) {
        QTest::newRow(tag) << args << code << printed;
    };
    row("filing by id", {"denuncia.frf", "--denuncia", "1"}, 0, "Denuncia n. 1 / 2008");
    row("most recent filing", {"denuncia.frf"}, 0, "Denuncia n. 1 / 2009");
    row("applicants", {"richiedenti.frf"}, 0, "Totale: 4 soggetti in elenco");
    row("companies", {"Imprese.frf"}, 0, "Totale: 2 imprese in elenco");
    row("every request listed", {"richieste_elenco.frf"}, 0, "Richieste in elenco: 4");
    row("every request in detail", {"richieste_dettaglio.frf"}, 0, "Richieste stampate: 4");
    row("codes to check", {"problemi.frf"}, 0, "Codici fiscali da verificare");
    row("unknown filing", {"denuncia.frf", "--denuncia", "99"}, 1, "Nessuna denuncia con ID_DENUNCIA 99.");
    row("not in the catalogue", {"imprese.frf"}, 2,
        "Modello sconosciuto: imprese.frf. I modelli del catalogo sono: denuncia.frf, richiedenti.frf, "
        "professionisti.frf, Imprese.frf, richieste_elenco.frf, richieste_dettaglio.frf, problemi.frf.");
}

void TestZolctlRender::render()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    const QString pdf = m_out.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + ".pdf");
    QString out, err;
    const int code = run(QStringList{"render", m_folder.path(), args.first(), "--pdf", pdf} + args.mid(1), &out, &err);
    QCOMPARE(code, exitCode);
    if (exitCode != 0) {
        QCOMPARE(err.trimmed(), printed);
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QCOMPARE(out.trimmed().section('\n', -1), QStringLiteral("Stampa scritta in %1").arg(pdf));
    QVERIFY2(pdfText(pdf).contains(printed), qPrintable(pdfText(pdf).left(500)));
}

void TestZolctlRender::brokenTemplateNamed()
{
    QFile f(m_folder.path() + QStringLiteral("professionisti.frf"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("band masterdata height=6\ntext x=0 y=0 w=50 h=5 \"[COGNOME] [ALBO_PROFESSIONALE]\"\nend\n");
    f.close();
    QString out, err;
    const QString pdf = m_out.filePath("rotto.pdf");
    QCOMPARE(run({"render", m_folder.path(), "professionisti.frf", "--pdf", pdf}, &out, &err), 1);
    QCOMPARE(err.trimmed(), QStringLiteral("Modello di stampa \"professionisti.frf\", riga 2, colonna 35: campo o "
                                           "variabile sconosciuta: ALBO_PROFESSIONALE."));
    QVERIFY(!QFile::exists(pdf));
}

QTEST_MAIN(TestZolctlRender)
#include "tst_zolctlrender.moc"
