// Turns one of the program folder's documents from HTML into PDF, at build time:
//   zol_docpdf input.html output.pdf

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: zol_docpdf documento.html documento.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "impossibile leggere %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(in.readAll());
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(QFileInfo(out).absolutePath());

    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setDefaultStyleSheet(QStringLiteral("h1 { color: #1f4e8c; } h2 { color: #1f4e8c; } h3 { color: #10305a; }"));
    doc.setHtml(html);

    QPdfWriter pdf(out);
    pdf.setCreator(QStringLiteral("ZOL"));
    pdf.setTitle(doc.metaInformation(QTextDocument::DocumentTitle));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                                  QPageLayout::Millimeter));
    pdf.setResolution(300);
    doc.print(&pdf);
    if (!QFileInfo(out).isFile() || QFileInfo(out).size() == 0) {
        std::fprintf(stderr, "impossibile scrivere %s\n", argv[2]);
        return 1;
    }
    return 0;
}
