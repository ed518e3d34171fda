#include "reports/ReportTemplateParser.h"

namespace zol::report {

namespace {

// One word of a template line: a bare word, key=value, or a quoted text.
struct Word
{
    QString key;
    QString value; // unescaped
    QString raw;   // a quoted text as written, escapes kept (for texts with expressions)
    bool hasValue = false;
    bool quoted = false; // a bare quoted text (the content of a text object)
    int column = 0;      // 1-based; for quoted texts the column of the opening quote
};

struct BandName
{
    const char* name;
    BandType type;
};

const BandName kBandNames[] = {
    {"title", BandType::Title},           {"pageheader", BandType::PageHeader}, {"masterdata", BandType::MasterData},
    {"pagefooter", BandType::PageFooter}, {"summary", BandType::Summary},
};

QString unescape(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == QLatin1Char('\\') && i + 1 < raw.size()) {
            ++i;
            out += raw.at(i) == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : raw.at(i);
        } else {
            out += raw.at(i);
        }
    }
    return out;
}

} // namespace

QString bandTypeName(BandType type)
{
    for (const BandName& b : kBandNames)
        if (b.type == type)
            return QString::fromLatin1(b.name);
    return QString();
}

class TemplateParser
{
public:
    explicit TemplateParser(ReportTemplate& t) : m_t(t) {}

    bool parse(const QString& text)
    {
        const QStringList lines =
            QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i)
            if (!parseLine(lines.at(i), i + 1))
                return false;
        if (m_band)
            return fail(m_band->line, 0,
                        QStringLiteral("la banda \"%1\" non è chiusa da \"end\"").arg(bandTypeName(m_band->type)));
        if (m_t.bands.isEmpty())
            return fail(0, 0, QStringLiteral("il modello non contiene bande"));
        const PageSetup& p = m_t.page;
        const double pageBody = p.paper().height() - p.top - p.bottom;
        double fixed = 0;
        for (const Band& b : m_t.bands)
            if (b.type == BandType::PageHeader || b.type == BandType::PageFooter)
                fixed += b.height;
        if (p.contentWidth() <= 0 || pageBody - fixed < 10)
            return fail(0, 0, QStringLiteral("margini, testata e piede di pagina non lasciano spazio ai dati"));
        return true;
    }

private:
    bool fail(int line, int column, const QString& what)
    {
        m_t.m_error = m_t.placeMessage(line, column, what);
        return false;
    }

    bool split(const QString& line, int number, QList<Word>& words)
    {
        int i = 0;
        while (i < line.size()) {
            if (line.at(i).isSpace()) {
                ++i;
                continue;
            }
            Word w;
            w.column = i + 1;
            if (line.at(i) == QLatin1Char('"')) {
                int j = i + 1;
                if (!readQuoted(line, j, w.raw))
                    return fail(number, i + 1, QStringLiteral("testo tra virgolette non chiuso"));
                w.quoted = true;
                w.value = unescape(w.raw);
                i = j;
            } else {
                int j = i;
                while (j < line.size() && !line.at(j).isSpace() && line.at(j) != QLatin1Char('='))
                    ++j;
                w.key = line.mid(i, j - i).toLower();
                if (j < line.size() && line.at(j) == QLatin1Char('=')) {
                    w.hasValue = true;
                    ++j;
                    if (j < line.size() && line.at(j) == QLatin1Char('"')) {
                        int k = j + 1;
                        if (!readQuoted(line, k, w.raw))
                            return fail(number, j + 1, QStringLiteral("testo tra virgolette non chiuso"));
                        w.value = unescape(w.raw);
                        j = k;
                    } else {
                        const int start = j;
                        while (j < line.size() && !line.at(j).isSpace())
                            ++j;
                        w.value = line.mid(start, j - start);
                    }
                }
                i = j;
            }
            words << w;
        }
        return true;
    }

    // From just after the opening quote; leaves pos after the closing one.
    static bool readQuoted(const QString& line, int& pos, QString& raw)
    {
        const int start = pos;
        while (pos < line.size()) {
            if (line.at(pos) == QLatin1Char('\\')) {
                pos += 2;
                continue;
            }
            if (line.at(pos) == QLatin1Char('"')) {
                raw = line.mid(start, pos - start);
                ++pos;
                return true;
            }
            ++pos;
        }
        return false;
    }

    bool number(const Word& w, int line, double& out, bool allowNegative = false)
    {
        bool ok = false;
        const double v = w.value.toDouble(&ok);
        if (!ok || (!allowNegative && v < 0))
            return fail(line, w.column, QStringLiteral("valore non valido per %1: \"%2\"").arg(w.key, w.value));
        out = v;
        return true;
    }

    bool color(const Word& w, int line, QColor& out)
    {
        QColor c(w.value);
        if (!c.isValid())
            return fail(line, w.column, QStringLiteral("colore non valido: \"%1\"").arg(w.value));
        out = c;
        return true;
    }

    bool parseLine(const QString& line, int number)
    {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            return true;
        QList<Word> words;
        if (!split(line, number, words))
            return false;
        const Word& first = words.first();
        if (first.quoted || first.hasValue)
            return fail(number, first.column, QStringLiteral("la riga deve cominciare con una parola chiave"));
        const QString& kw = first.key;
        const QList<Word> rest = words.mid(1);
        if (m_band) {
            if (kw == QLatin1String("end")) {
                if (rest.size())
                    return fail(number, rest.first().column, QStringLiteral("testo inatteso dopo \"end\""));
                m_band = nullptr;
                return true;
            }
            if (kw == QLatin1String("text") || kw == QLatin1String("line") || kw == QLatin1String("rect"))
                return parseObject(kw, rest, number);
            if (kw == QLatin1String("band"))
                return fail(number, first.column,
                            QStringLiteral("manca \"end\" alla banda \"%1\"").arg(bandTypeName(m_band->type)));
            return fail(number, first.column, QStringLiteral("oggetto sconosciuto \"%1\"").arg(kw));
        }
        if (kw == QLatin1String("report"))
            return parseReport(rest, number);
        if (kw == QLatin1String("page"))
            return parsePage(rest, number);
        if (kw == QLatin1String("font"))
            return parseFont(rest, number);
        if (kw == QLatin1String("band"))
            return parseBand(rest, number, first.column);
        if (kw == QLatin1String("text") || kw == QLatin1String("line") || kw == QLatin1String("rect"))
            return fail(number, first.column, QStringLiteral("l'oggetto \"%1\" sta fuori da ogni banda").arg(kw));
        return fail(number, first.column, QStringLiteral("parola chiave sconosciuta \"%1\"").arg(kw));
    }

    bool unknown(const Word& w, int line)
    {
        if (w.quoted)
            return fail(line, w.column, QStringLiteral("testo inatteso \"%1\"").arg(w.value));
        return fail(line, w.column, QStringLiteral("attributo sconosciuto \"%1\"").arg(w.key));
    }

    bool parseReport(const QList<Word>& words, int line)
    {
        for (const Word& w : words) {
            if (w.key == QLatin1String("title") && w.hasValue)
                m_t.title = w.value;
            else
                return unknown(w, line);
        }
        return true;
    }

    bool parsePage(const QList<Word>& words, int line)
    {
        PageSetup& p = m_t.page;
        for (const Word& w : words) {
            if (w.key == QLatin1String("size") && w.hasValue) {
                static const struct
                {
                    const char* name;
                    QPageSize::PageSizeId id;
                } sizes[] = {
                    {"A4", QPageSize::A4}, {"A3", QPageSize::A3}, {"A5", QPageSize::A5}, {"LETTER", QPageSize::Letter}};
                bool found = false;
                for (const auto& s : sizes) {
                    if (w.value.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) {
                        p.size = QPageSize::size(s.id, QPageSize::Millimeter);
                        found = true;
                    }
                }
                if (!found)
                    return fail(line, w.column, QStringLiteral("formato di pagina sconosciuto \"%1\"").arg(w.value));
            } else if (w.key == QLatin1String("width") && w.hasValue) {
                double v;
                if (!number(w, line, v))
                    return false;
                p.size.setWidth(v);
            } else if (w.key == QLatin1String("height") && w.hasValue) {
                double v;
                if (!number(w, line, v))
                    return false;
                p.size.setHeight(v);
            } else if (w.key == QLatin1String("orientation") && w.hasValue) {
                if (w.value == QLatin1String("portrait"))
                    p.landscape = false;
                else if (w.value == QLatin1String("landscape"))
                    p.landscape = true;
                else
                    return fail(line, w.column, QStringLiteral("orientamento sconosciuto \"%1\"").arg(w.value));
            } else if (w.key == QLatin1String("margins") && w.hasValue) {
                const QStringList parts = w.value.split(QLatin1Char(','));
                double m[4];
                bool ok = parts.size() == 4;
                for (int i = 0; ok && i < 4; ++i) {
                    m[i] = parts.at(i).toDouble(&ok);
                    ok = ok && m[i] >= 0;
                }
                if (!ok)
                    return fail(
                        line, w.column,
                        QStringLiteral("margini non validi \"%1\" (sinistro,alto,destro,basso in mm)").arg(w.value));
                p.left = m[0];
                p.top = m[1];
                p.right = m[2];
                p.bottom = m[3];
            } else {
                return unknown(w, line);
            }
        }
        if (p.size.width() < 50 || p.size.height() < 50)
            return fail(line, 0, QStringLiteral("pagina troppo piccola"));
        return true;
    }

    bool parseFont(const QList<Word>& words, int line)
    {
        for (const Word& w : words) {
            if (w.key == QLatin1String("family") && w.hasValue)
                m_t.fontFamily = w.value;
            else if (w.key == QLatin1String("size") && w.hasValue) {
                if (!number(w, line, m_t.fontSize))
                    return false;
                if (m_t.fontSize < 4 || m_t.fontSize > 72)
                    return fail(line, w.column, QStringLiteral("corpo del carattere fuori misura (da 4 a 72)"));
            } else
                return unknown(w, line);
        }
        return true;
    }

    bool parseBand(const QList<Word>& words, int line, int column)
    {
        if (words.isEmpty() || words.first().hasValue || words.first().quoted)
            return fail(line, column, QStringLiteral("manca il tipo della banda"));
        Band b;
        b.line = line;
        bool known = false;
        for (const BandName& n : kBandNames) {
            if (words.first().key == QLatin1String(n.name)) {
                b.type = n.type;
                known = true;
            }
        }
        if (!known)
            return fail(line, words.first().column,
                        QStringLiteral("tipo di banda sconosciuto \"%1\" (title, pageheader, masterdata, pagefooter, "
                                       "summary)")
                            .arg(words.first().key));
        for (const Band& other : m_t.bands)
            if (other.type == b.type)
                return fail(line, words.first().column,
                            QStringLiteral("la banda \"%1\" è già definita alla riga %2")
                                .arg(bandTypeName(b.type))
                                .arg(other.line));
        bool hasHeight = false;
        for (const Word& w : words.mid(1)) {
            if (w.key == QLatin1String("height") && w.hasValue) {
                if (!number(w, line, b.height))
                    return false;
                hasHeight = true;
            } else
                return unknown(w, line);
        }
        if (!hasHeight)
            return fail(line, column, QStringLiteral("manca l'altezza della banda (height=...)"));
        m_t.bands.append(b);
        m_band = &m_t.bands.last();
        return true;
    }

    bool parseObject(const QString& kw, const QList<Word>& words, int line)
    {
        ReportObject o;
        o.line = line;
        o.kind = kw == QLatin1String("text")
                     ? ReportObject::Kind::Text
                     : (kw == QLatin1String("line") ? ReportObject::Kind::Line : ReportObject::Kind::Rect);
        o.fontFamily = m_t.fontFamily;
        o.fontSize = m_t.fontSize;
        const bool isText = o.kind == ReportObject::Kind::Text;
        bool hasText = false;
        int seen = 0; // x, y, w, h given
        for (const Word& w : words) {
            const QString& k = w.key;
            if (w.quoted) {
                if (!isText || hasText)
                    return unknown(w, line);
                if (!parsePieces(w, line, o.pieces))
                    return false;
                hasText = true;
            } else if (w.hasValue && (k == QLatin1String("x") || k == QLatin1String("y") || k == QLatin1String("w") ||
                                      k == QLatin1String("h"))) {
                double* target = k == QLatin1String("x")   ? &o.x
                                 : k == QLatin1String("y") ? &o.y
                                 : k == QLatin1String("w") ? &o.w
                                                           : &o.h;
                if (!number(w, line, *target))
                    return false;
                seen |= k == QLatin1String("x") ? 1 : k == QLatin1String("y") ? 2 : k == QLatin1String("w") ? 4 : 8;
            } else if (k == QLatin1String("width") && w.hasValue && !isText) {
                if (!number(w, line, o.lineWidth))
                    return false;
            } else if (k == QLatin1String("color") && w.hasValue) {
                if (!color(w, line, o.color))
                    return false;
            } else if (k == QLatin1String("fill") && w.hasValue && o.kind != ReportObject::Kind::Line) {
                if (!color(w, line, o.fill))
                    return false;
            } else if (k == QLatin1String("grow") && !w.hasValue && o.kind != ReportObject::Kind::Line) {
                o.grow = true;
            } else if (isText && !parseTextAttribute(w, line, o)) {
                return false;
            } else if (!isText) {
                return unknown(w, line);
            }
        }
        const int required = o.kind == ReportObject::Kind::Line ? 3 : 15;
        if ((seen & required) != required)
            return fail(line, 0,
                        o.kind == ReportObject::Kind::Line ? QStringLiteral("la linea vuole x, y e w oppure h")
                                                           : QStringLiteral("l'oggetto vuole x, y, w e h"));
        if (o.kind == ReportObject::Kind::Line && o.w == 0 && o.h == 0)
            return fail(line, 0, QStringLiteral("la linea ha lunghezza zero"));
        if (isText && !hasText)
            return fail(line, 0, QStringLiteral("manca il testo dell'oggetto (tra virgolette)"));
        const double eps = 0.001;
        if (o.x + o.w > m_t.page.contentWidth() + eps)
            return fail(line, 0,
                        QStringLiteral("l'oggetto esce dal margine destro (x + w = %1 mm, larghezza utile %2 mm)")
                            .arg(o.x + o.w)
                            .arg(m_t.page.contentWidth()));
        if (o.y + o.h > m_band->height + eps)
            return fail(line, 0,
                        QStringLiteral("l'oggetto esce dalla banda (y + h = %1 mm, altezza della banda %2 mm)")
                            .arg(o.y + o.h)
                            .arg(m_band->height));
        if (isText && o.padding * 2 >= o.w)
            return fail(line, 0, QStringLiteral("il margine interno non lascia spazio al testo"));
        m_band->objects.append(o);
        return true;
    }

    bool parseTextAttribute(const Word& w, int line, ReportObject& o)
    {
        const QString& k = w.key;
        if (!w.hasValue) {
            if (k == QLatin1String("bold"))
                o.bold = true;
            else if (k == QLatin1String("italic"))
                o.italic = true;
            else if (k == QLatin1String("underline"))
                o.underline = true;
            else if (k == QLatin1String("wrap"))
                o.wrap = true;
            else if (k == QLatin1String("nowrap"))
                o.wrap = false;
            else if (k == QLatin1String("stretch"))
                o.stretch = true;
            else
                return unknown(w, line);
            return true;
        }
        if (k == QLatin1String("font"))
            o.fontFamily = w.value;
        else if (k == QLatin1String("size")) {
            if (!number(w, line, o.fontSize))
                return false;
            if (o.fontSize < 4 || o.fontSize > 72)
                return fail(line, w.column, QStringLiteral("corpo del carattere fuori misura (da 4 a 72)"));
        } else if (k == QLatin1String("align")) {
            if (w.value == QLatin1String("left"))
                o.align = Qt::AlignLeft;
            else if (w.value == QLatin1String("center"))
                o.align = Qt::AlignHCenter;
            else if (w.value == QLatin1String("right"))
                o.align = Qt::AlignRight;
            else
                return fail(line, w.column, QStringLiteral("allineamento sconosciuto \"%1\"").arg(w.value));
        } else if (k == QLatin1String("valign")) {
            if (w.value == QLatin1String("top"))
                o.valign = Qt::AlignTop;
            else if (w.value == QLatin1String("middle"))
                o.valign = Qt::AlignVCenter;
            else if (w.value == QLatin1String("bottom"))
                o.valign = Qt::AlignBottom;
            else
                return fail(line, w.column, QStringLiteral("allineamento verticale sconosciuto \"%1\"").arg(w.value));
        } else if (k == QLatin1String("padding")) {
            return number(w, line, o.padding);
        } else if (k == QLatin1String("framewidth")) {
            return number(w, line, o.lineWidth);
        } else if (k == QLatin1String("frame")) {
            o.frame = 0;
            for (const QString& side : w.value.split(QLatin1Char(','))) {
                if (side == QLatin1String("all"))
                    o.frame |= ReportObject::AllSides;
                else if (side == QLatin1String("none"))
                    o.frame = 0;
                else if (side == QLatin1String("left"))
                    o.frame |= ReportObject::Left;
                else if (side == QLatin1String("top"))
                    o.frame |= ReportObject::Top;
                else if (side == QLatin1String("right"))
                    o.frame |= ReportObject::Right;
                else if (side == QLatin1String("bottom"))
                    o.frame |= ReportObject::Bottom;
                else
                    return fail(line, w.column, QStringLiteral("lato della cornice sconosciuto \"%1\"").arg(side));
            }
        } else {
            return unknown(w, line);
        }
        return true;
    }

    // Splits a text into literal pieces and [expressions]; escapes: \" \\ \n \[ \].
    bool parsePieces(const Word& w, int line, QList<TextPiece>& pieces)
    {
        const QString& raw = w.raw;
        QString literal;
        int i = 0;
        while (i < raw.size()) {
            const QChar c = raw.at(i);
            if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
                literal += raw.at(i + 1) == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : raw.at(i + 1);
                i += 2;
                continue;
            }
            if (c != QLatin1Char('[')) {
                literal += c;
                ++i;
                continue;
            }
            // The expression runs to the matching ']' outside its 'quoted' texts.
            int j = i + 1;
            bool inQuote = false;
            while (j < raw.size() && (inQuote || raw.at(j) != QLatin1Char(']'))) {
                if (raw.at(j) == QLatin1Char('\''))
                    inQuote = !inQuote;
                ++j;
            }
            const int column = w.column + 1 + i; // of the '['
            if (j >= raw.size())
                return fail(line, column, QStringLiteral("manca \"]\" alla fine dell'espressione"));
            if (!literal.isEmpty()) {
                TextPiece lit;
                lit.literal = literal;
                pieces << lit;
                literal.clear();
            }
            TextPiece p;
            p.exprText = raw.mid(i + 1, j - i - 1);
            p.column = column + 1;
            ExprError err;
            p.expr = parseExpression(p.exprText, &err);
            if (!p.expr)
                return fail(line, p.column + qMax(0, err.column - 1), err.message);
            pieces << p;
            i = j + 1;
        }
        if (!literal.isEmpty() || pieces.isEmpty()) {
            TextPiece lit;
            lit.literal = literal;
            pieces << lit;
        }
        return true;
    }

    ReportTemplate& m_t;
    Band* m_band = nullptr;
};

bool parseTemplateText(ReportTemplate& tpl, const QString& text)
{
    TemplateParser parser(tpl);
    return parser.parse(text);
}

} // namespace zol::report
