#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace zol::report {

// Layout units: dots of 1/1200 inch. Fonts are sized in pixels of that unit, so the same
// layout paints identically on the PDF writer (1200 dpi), a printer and the screen (scaled).
constexpr double kDotsPerInch = 1200.0;
constexpr double kDotsPerMm = kDotsPerInch / 25.4;
inline double mmToDots(double mm)
{
    return mm * kDotsPerMm;
}

// How a text item is drawn; shared by every item that looks alike.
struct TextStyle
{
    QFont font;
    QColor color = Qt::black;
    QColor frameColor = Qt::black;
    double frameWidth = 0; // dots
    int frame = 0;         // ReportObject::FrameSide flags
    QColor fill;
};

// One line of a text item: its text and where its baseline starts, from the item's top-left.
struct TextLine
{
    float x = 0;
    float y = 0;
    QString text;
};

// A positioned thing on a page: plain data that tests read and one painting function draws.
struct PageItem
{
    enum class Kind : quint8 { Text, Line, Rect };
    Kind kind = Kind::Text;
    bool clip = false; // text wider than its box: drawn clipped
    int style = -1;    // Text: index into PreparedReport::styles
    QRectF rect;       // dots, from the paper's top-left corner; Line: from topLeft to bottomRight
    QList<TextLine> lines;
    QColor color = Qt::black; // Line, Rect
    QColor fill;              // Rect
    double width = 0;         // Line, Rect: pen width in dots

    // The item's text, lines joined with '\n'.
    QString text() const;
};

struct ReportPage
{
    QList<PageItem> items;
};

// A report laid out into pages, ready to paint, print, save or search.
struct PreparedReport
{
    QString title;
    QSizeF paperSize; // dots
    bool landscape = false;
    QList<TextStyle> styles;
    QList<ReportPage> pages;

    // Every text of a page, items in order, one per line; for tests and the search.
    QStringList pageTexts(int page) const;
};

} // namespace zol::report
