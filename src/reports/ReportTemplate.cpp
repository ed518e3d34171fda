#include "reports/ReportTemplate.h"

#include "reports/ReportTemplateParser.h"

#include <QFile>
#include <QFileInfo>

namespace zol::report {

bool ReportTemplate::load(const QString& path)
{
    *this = ReportTemplate();
    m_name = QFileInfo(path).fileName();
    QFile f(path);
    if (!f.exists()) {
        m_error = QStringLiteral("Il modello di stampa \"%1\" non si trova nella cartella del programma (%2).")
                      .arg(m_name, QFileInfo(path).absolutePath());
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Impossibile leggere il modello di stampa \"%1\": %2").arg(m_name, f.errorString());
        return false;
    }
    const QByteArray bytes = f.readAll();
    QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) {
        m_error = placeMessage(0, 0, QStringLiteral("il file non è un testo UTF-8"));
        return false;
    }
    return parse(text, m_name);
}

bool ReportTemplate::parse(const QString& text, const QString& fileName)
{
    const QString name = fileName; // fileName may be our own m_name, reset below
    *this = ReportTemplate();
    m_name = name;
    if (parseTemplateText(*this, text))
        return true;
    const QString error = m_error;
    *this = ReportTemplate();
    m_name = name;
    m_error = error;
    return false;
}

QString ReportTemplate::placeMessage(int line, int column, const QString& what) const
{
    QString place = QStringLiteral("Modello di stampa \"%1\"").arg(m_name);
    if (line > 0)
        place += QStringLiteral(", riga %1").arg(line);
    if (line > 0 && column > 0)
        place += QStringLiteral(", colonna %1").arg(column);
    return place + QStringLiteral(": ") + what + QLatin1Char('.');
}

const Band* ReportTemplate::band(BandType type) const
{
    for (const Band& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

QList<Band*> ReportTemplate::allBands()
{
    QList<Band*> out;
    for (Band& b : bands)
        out << &b;
    return out;
}

} // namespace zol::report
