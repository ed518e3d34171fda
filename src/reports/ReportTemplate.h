#pragma once

#include "reports/ReportExpression.h"

#include <QColor>
#include <QList>
#include <QPageSize>
#include <QSizeF>
#include <QString>

namespace zol::report {

enum class BandType { Title, PageHeader, MasterData, PageFooter, Summary };

// A piece of a text object: a literal text or an expression written between [ and ].
struct TextPiece
{
    QString literal;
    ExprPtr expr;
    QString exprText;
    int column = 0; // where the expression starts on its template line, 1-based
};

// One object of a band. Positions and sizes are millimetres from the band's top-left corner.
struct ReportObject
{
    enum class Kind { Text, Line, Rect };
    enum FrameSide { Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };

    Kind kind = Kind::Text;
    int line = 0; // template line, for messages
    double x = 0, y = 0, w = 0, h = 0;

    // Text objects.
    QList<TextPiece> pieces;
    QString fontFamily;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Qt::Alignment align = Qt::AlignLeft;
    Qt::Alignment valign = Qt::AlignTop;
    bool wrap = true;
    bool stretch = false; // the object grows to show all its text
    bool grow = false;    // the object grows with its band (frames of table cells)
    double padding = 0;
    int frame = 0; // FrameSide flags

    // Frames, lines and rectangles.
    double lineWidth = 0.2;
    QColor color = Qt::black;
    QColor fill; // invalid: none
};

struct Band
{
    BandType type = BandType::MasterData;
    int line = 0;
    double height = 0;
    QList<ReportObject> objects;
};

struct PageSetup
{
    QSizeF size{210, 297}; // millimetres, portrait as given
    bool landscape = false;
    double left = 15, top = 15, right = 15, bottom = 15;

    QSizeF paper() const { return landscape ? size.transposed() : size; }
    double contentWidth() const { return paper().width() - left - right; }
};

// A report template: page set-up and bands, read from the text format of the templates (see
// docs/report-templates.md). Loading checks the file's syntax, the expressions and the geometry;
// names are checked against the data when the report is prepared.
class ReportTemplate
{
public:
    bool load(const QString& path);
    bool parse(const QString& text, const QString& name);

    QString name() const { return m_name; } // file name, for messages
    QString errorString() const { return m_error; }

    // A message that names the template and the place.
    QString placeMessage(int line, int column, const QString& what) const;

    const Band* band(BandType type) const;
    QList<Band*> allBands();

    PageSetup page;
    QString title;
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 9;
    QList<Band> bands;

private:
    friend class TemplateParser;
    QString m_name;
    QString m_error;
};

// Band type names as written in templates ("title", "pageheader", ...).
QString bandTypeName(BandType type);

} // namespace zol::report
