#include "reports/ReportPainter.h"

#include "reports/ReportTemplate.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace zol::report {

namespace {

void drawFrame(QPainter& p, const QRectF& r, const TextStyle& s)
{
    if (!s.frame || s.frameWidth <= 0)
        return;
    p.setPen(QPen(s.frameColor, s.frameWidth, Qt::SolidLine, Qt::SquareCap));
    p.setBrush(Qt::NoBrush);
    if (s.frame == ReportObject::AllSides) {
        p.drawRect(r);
        return;
    }
    if (s.frame & ReportObject::Left)
        p.drawLine(r.topLeft(), r.bottomLeft());
    if (s.frame & ReportObject::Top)
        p.drawLine(r.topLeft(), r.topRight());
    if (s.frame & ReportObject::Right)
        p.drawLine(r.topRight(), r.bottomRight());
    if (s.frame & ReportObject::Bottom)
        p.drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace

QString PageItem::text() const
{
    QStringList parts;
    for (const TextLine& l : lines)
        parts << l.text;
    return parts.join(QLatin1Char('\n'));
}

QStringList PreparedReport::pageTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pages.size())
        return out;
    for (const PageItem& item : pages.at(page).items)
        for (const TextLine& l : item.lines)
            out << l.text;
    return out;
}

void paintPage(QPainter& p, const PreparedReport& report, int page, const QRectF& highlight)
{
    if (page < 0 || page >= report.pages.size())
        return;
    int currentStyle = -1;
    if (highlight.isValid())
        p.fillRect(highlight, QColor(255, 235, 120));
    for (const PageItem& item : report.pages.at(page).items) {
        switch (item.kind) {
        case PageItem::Kind::Text: {
            const TextStyle& s = report.styles.at(item.style);
            if (s.fill.isValid())
                p.fillRect(item.rect, s.fill);
            if (!item.lines.isEmpty()) {
                if (item.clip) {
                    p.save();
                    p.setClipRect(item.rect, Qt::IntersectClip);
                }
                if (currentStyle != item.style || item.clip) {
                    p.setFont(s.font);
                    p.setPen(s.color);
                    currentStyle = item.style;
                }
                for (const TextLine& l : item.lines)
                    p.drawText(QPointF(item.rect.left() + l.x, item.rect.top() + l.y), l.text);
                if (item.clip) {
                    p.restore();
                    currentStyle = -1;
                }
            }
            if (s.frame) {
                drawFrame(p, item.rect, s);
                currentStyle = -1;
            }
            break;
        }
        case PageItem::Kind::Line:
            p.setPen(QPen(item.color, item.width, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            currentStyle = -1;
            break;
        case PageItem::Kind::Rect:
            p.setPen(item.width > 0 ? QPen(item.color, item.width) : QPen(Qt::NoPen));
            p.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            p.drawRect(item.rect);
            p.setBrush(Qt::NoBrush);
            currentStyle = -1;
            break;
        }
    }
}

bool writePdf(const PreparedReport& report, QIODevice* device, QString* error)
{
    QPdfWriter writer(device);
    writer.setResolution(int(kDotsPerInch));
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("ZOL"));
    const QSizeF paperMm = report.paperSize / kDotsPerMm;
    const QSizeF portrait = report.landscape ? paperMm.transposed() : paperMm;
    const QPageLayout layout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                             report.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
    if (!writer.setPageLayout(layout)) {
        if (error)
            *error = QStringLiteral("Formato di pagina non accettato dal documento PDF.");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere il documento PDF.");
        return false;
    }
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        paintPage(painter, report, i);
    }
    painter.end();
    return true;
}

bool writePdf(const PreparedReport& report, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere il file %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    if (!writePdf(report, &file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("Impossibile scrivere il file %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace zol::report
