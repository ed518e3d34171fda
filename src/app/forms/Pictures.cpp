#include "app/forms/Pictures.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace zol::pictures {
namespace {

const QColor kBlue(0x1f, 0x4e, 0x8c);
const QColor kLightBlue(0x8f, 0xb4, 0xe3);
const QColor kOrange(0xff, 0x80, 0x40);

QPixmap canvas(int size)
{
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

} // namespace

QPixmap emblem(int size)
{
    QPixmap pix = canvas(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    // Rounded tile.
    QLinearGradient g(0, 0, 0, 100);
    g.setColorAt(0, kLightBlue);
    g.setColorAt(1, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);
    // A building: roof, walls, windows and a door.
    p.setBrush(Qt::white);
    QPainterPath roof;
    roof.moveTo(14, 48);
    roof.lineTo(50, 16);
    roof.lineTo(86, 48);
    roof.closeSubpath();
    p.drawPath(roof);
    p.drawRect(QRectF(22, 46, 56, 40));
    p.setBrush(kBlue);
    p.drawRect(QRectF(30, 54, 10, 10));
    p.drawRect(QRectF(60, 54, 10, 10));
    p.drawRect(QRectF(45, 66, 10, 20));
    // The filing: an orange sheet at the corner.
    p.setBrush(kOrange);
    p.setPen(QPen(Qt::white, 2));
    p.drawRoundedRect(QRectF(66, 62, 24, 30), 3, 3);
    p.setPen(QPen(Qt::white, 2.5));
    for (int y : {70, 77, 84})
        p.drawLine(QPointF(71, y), QPointF(85, y));
    return pix;
}

QPixmap transmission(int size)
{
    QPixmap pix = canvas(size);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    p.setPen(QPen(kBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    // A sheet of fixed records...
    p.drawRect(QRectF(8, 12, 44, 58));
    p.setPen(QPen(kLightBlue, 4, Qt::SolidLine, Qt::RoundCap));
    for (int y : {26, 36, 46, 56})
        p.drawLine(QPointF(16, y), QPointF(44, y));
    // ...on its way.
    p.setPen(QPen(kOrange, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(50, 80), QPointF(86, 80));
    p.drawLine(QPointF(74, 68), QPointF(86, 80));
    p.drawLine(QPointF(74, 92), QPointF(86, 80));
    return pix;
}

QIcon stateIcon(const QString& stato)
{
    static QHash<QString, QIcon> cache;
    if (stato != QLatin1String("A") && stato != QLatin1String("C") && stato != QLatin1String("T"))
        return {};
    auto it = cache.find(stato);
    if (it != cache.end())
        return *it;
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pix = canvas(size);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        const QColor fill = stato == QLatin1String("A")   ? QColor(0x2e, 0x9d, 0x4a)
                            : stato == QLatin1String("C") ? kBlue
                                                          : QColor(0x80, 0x80, 0x80);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        if (stato == QLatin1String("A")) {
            // A pen: the filing can still be written.
            p.drawLine(QPointF(5, 11), QPointF(11, 5));
            p.drawPoint(QPointF(4.5, 11.5));
        } else if (stato == QLatin1String("C")) {
            // A tick: the file has been created.
            p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5.5)}));
        } else {
            // An arrow: sent.
            p.drawLine(QPointF(4, 8), QPointF(12, 8));
            p.drawPolyline(QPolygonF({QPointF(9, 5), QPointF(12, 8), QPointF(9, 11)}));
        }
        p.end();
        icon.addPixmap(pix);
    }
    cache.insert(stato, icon);
    return icon;
}

} // namespace zol::pictures
