#include "reports/ReportLayout.h"

#include <QTextLayout>

#include <algorithm>

namespace zol::report {

namespace {

constexpr double kEps = 0.01; // dots

// Report texts end lines with a carriage return (the archive's convention), files with '\n'.
QStringList paragraphs(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    if (t.isEmpty())
        return {};
    return t.split(QLatin1Char('\n'));
}

QString chopTrailingSpaces(QString s)
{
    int n = int(s.size());
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    s.truncate(n);
    return s;
}

} // namespace

Layouter::Layouter(const ReportTemplate& tpl, PreparedReport& out)
    : m_tpl(tpl), m_out(out), m_left(mmToDots(tpl.page.left))
{
    for (const TextStyle& s : m_out.styles)
        m_metrics << QFontMetricsF(s.font);
}

int Layouter::styleFor(const ReportObject& o)
{
    const auto known = m_objectStyle.constFind(&o);
    if (known != m_objectStyle.constEnd())
        return known.value();
    const QString key = QStringLiteral("%1|%2|%3%4%5|%6|%7|%8|%9")
                            .arg(o.fontFamily)
                            .arg(o.fontSize)
                            .arg(int(o.bold))
                            .arg(int(o.italic))
                            .arg(int(o.underline))
                            .arg(o.color.name(QColor::HexArgb))
                            .arg(o.frame)
                            .arg(o.lineWidth)
                            .arg(o.fill.isValid() ? o.fill.name(QColor::HexArgb) : QString());
    const auto it = m_styleIndex.constFind(key);
    if (it != m_styleIndex.constEnd()) {
        m_objectStyle.insert(&o, it.value());
        return it.value();
    }
    TextStyle s;
    s.font = QFont(o.fontFamily);
    s.font.setPixelSize(qMax(1, qRound(o.fontSize * kDotsPerInch / 72.0)));
    s.font.setBold(o.bold);
    s.font.setItalic(o.italic);
    s.font.setUnderline(o.underline);
    // Unhinted metrics scale linearly, so the layout holds on every device.
    s.font.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: a PDF reader must find and copy "fi" as two letters.
    s.font.setStyleStrategy(QFont::PreferNoShaping);
    s.color = o.color;
    s.frameColor = o.color;
    s.frame = o.frame;
    s.frameWidth = mmToDots(o.lineWidth);
    s.fill = o.fill;
    m_out.styles << s;
    m_metrics << QFontMetricsF(s.font);
    const int index = int(m_out.styles.size()) - 1;
    m_styleIndex.insert(key, index);
    m_objectStyle.insert(&o, index);
    return index;
}

double Layouter::layoutText(const ReportObject& o, const QString& text, PageItem& item, bool fitHeight)
{
    item.kind = PageItem::Kind::Text;
    item.style = styleFor(o);
    item.lines.clear();
    item.clip = false;
    const QFontMetricsF& fm = m_metrics.at(item.style);
    const double pad = mmToDots(o.padding);
    const double width = item.rect.width() - 2 * pad;
    const double spacing = fm.lineSpacing();

    struct Piece
    {
        QString text;
        double width;
    };
    QList<Piece> pieces;
    for (const QString& par : paragraphs(text)) {
        const QString trimmed = chopTrailingSpaces(par);
        const double natural = fm.horizontalAdvance(trimmed);
        if (!o.wrap || natural <= width) {
            pieces.append({trimmed, natural});
            continue;
        }
        QTextLayout tl(par, m_out.styles.at(item.style).font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        tl.setTextOption(option);
        tl.beginLayout();
        for (;;) {
            QTextLine line = tl.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            const QString part = chopTrailingSpaces(par.mid(line.textStart(), line.textLength()));
            pieces.append({part, fm.horizontalAdvance(part)});
        }
        tl.endLayout();
    }

    const double needed = pieces.size() * spacing + 2 * pad;
    if (fitHeight && o.stretch && needed > item.rect.height())
        item.rect.setHeight(needed);
    const double height = item.rect.height();
    int shown = int(pieces.size());
    if (!fitHeight || !o.stretch) {
        // Lines that do not fit a fixed box are not printed; the first one always is.
        shown = qMin(shown, qMax(1, int((height - 2 * pad + kEps) / spacing)));
    }
    double free = height - 2 * pad - shown * spacing;
    double top = pad;
    if (free > 0 && o.valign == Qt::AlignVCenter)
        top += free / 2;
    else if (free > 0 && o.valign == Qt::AlignBottom)
        top += free;
    for (int i = 0; i < shown; ++i) {
        const Piece& p = pieces.at(i);
        double x = pad;
        if (o.align == Qt::AlignHCenter)
            x += (width - p.width) / 2;
        else if (o.align == Qt::AlignRight)
            x += width - p.width;
        if (p.width > width + kEps)
            item.clip = true;
        item.lines.append({float(qMax(x, pad)), float(top + i * spacing + fm.ascent()), p.text});
    }
    return needed;
}

BandLayout Layouter::layoutBand(const Band& band, const std::function<QString(const ReportObject&)>& text,
                                const std::function<bool(const ReportObject&)>& deferred)
{
    BandLayout out;
    const double declared = mmToDots(band.height);
    const int count = int(band.objects.size());
    out.items.resize(count);
    out.source.resize(count);
    // Objects are laid out from the top down: an object below one that stretched moves down by
    // as much as that one grew, so a block of fields keeps its order with texts of any length.
    QList<int> order(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return band.objects.at(a).y < band.objects.at(b).y; });
    QList<double> grownBy(count, 0.0); // how far each object's bottom moved down
    double height = declared;
    for (int k = 0; k < count; ++k) {
        const int i = order.at(k);
        const ReportObject& o = band.objects.at(i);
        double shift = 0;
        for (int m = 0; m < k; ++m) {
            const int j = order.at(m);
            const ReportObject& above = band.objects.at(j);
            if (above.y + above.h <= o.y + 0.001)
                shift = qMax(shift, grownBy.at(j));
        }
        PageItem& item = out.items[i];
        item.rect = QRectF(m_left + mmToDots(o.x), mmToDots(o.y) + shift, mmToDots(o.w), mmToDots(o.h));
        switch (o.kind) {
        case ReportObject::Kind::Text:
            layoutText(o, text(o), item, true);
            break;
        case ReportObject::Kind::Line:
            item.kind = PageItem::Kind::Line;
            item.color = o.color;
            item.width = mmToDots(o.lineWidth);
            break;
        case ReportObject::Kind::Rect:
            item.kind = PageItem::Kind::Rect;
            item.color = o.color;
            item.fill = o.fill;
            item.width = mmToDots(o.lineWidth);
            break;
        }
        const double originalBottom = mmToDots(o.y + o.h);
        grownBy[i] = item.rect.bottom() - originalBottom;
        // A grown or moved object keeps the space it had below it in the band.
        height = qMax(height, item.rect.bottom() + (declared - originalBottom));
        out.source[i] = o.kind == ReportObject::Kind::Text && deferred(o) ? &o : nullptr;
    }
    for (int i = 0; i < count; ++i) {
        const ReportObject& o = band.objects.at(i);
        if (o.grow)
            out.items[i].rect.setBottom(height - (declared - mmToDots(o.y + o.h)));
    }
    out.height = height;
    return out;
}

Paginator::Paginator(const ReportTemplate& tpl, PreparedReport& out, Layouter& layouter, double footerHeight)
    : m_tpl(tpl), m_out(out), m_layouter(layouter), m_footerHeight(footerHeight),
      m_paperHeight(mmToDots(tpl.page.paper().height())), m_topMargin(mmToDots(tpl.page.top)),
      m_bottomMargin(mmToDots(tpl.page.bottom))
{
}

void Paginator::addPage()
{
    m_out.pages.append(ReportPage());
    lastRowOfPage.append(lastRowOfPage.isEmpty() ? -1 : lastRowOfPage.last());
    m_y = m_topMargin;
    if (onNewPage)
        onNewPage();
    m_freshTop = m_y;
    m_fresh = true;
}

void Paginator::placeFixed(const BandLayout& band)
{
    put(band, m_y);
    m_y += band.height;
}

void Paginator::placeAt(const BandLayout& band, int page, double top)
{
    ReportPage& p = m_out.pages[page];
    for (int i = 0; i < band.items.size(); ++i) {
        PageItem item = band.items.at(i);
        item.rect.translate(0, top);
        p.items.append(item);
    }
}

void Paginator::put(const BandLayout& band, double top)
{
    const int page = int(m_out.pages.size()) - 1;
    ReportPage& p = m_out.pages[page];
    for (int i = 0; i < band.items.size(); ++i) {
        PageItem item = band.items.at(i);
        item.rect.translate(0, top);
        if (band.source.at(i) && onDeferred)
            onDeferred(page, int(p.items.size()), band.source.at(i), band.row);
        p.items.append(item);
    }
    if (band.row >= 0)
        lastRowOfPage[page] = band.row;
}

void Paginator::place(BandLayout band)
{
    for (;;) {
        const double avail = footerTop() - m_y;
        if (band.height <= avail + kEps) {
            placeFixed(band);
            m_fresh = false;
            return;
        }
        // A band that fits on an empty page moves there whole.
        if (!m_fresh && band.height <= footerTop() - m_freshTop + kEps) {
            addPage();
            continue;
        }
        double cut = cutPoint(band, avail);
        if (cut <= kEps) {
            if (!m_fresh) {
                addPage();
                continue;
            }
            // Not even one line fits an empty page: cut through it rather than loop.
            cut = qMax(avail, mmToDots(1));
        }
        BandLayout first, rest;
        split(band, cut, first, rest);
        placeFixed(first);
        m_fresh = false;
        addPage();
        band = rest;
    }
}

double Paginator::cutPoint(const BandLayout& band, double avail) const
{
    // The highest cut at or above avail that passes between the lines of every text it crosses.
    double cut = avail;
    for (;;) {
        double next = cut;
        for (const PageItem& item : band.items) {
            const double top = item.rect.top();
            if (item.kind != PageItem::Kind::Text || top >= next - kEps || item.rect.bottom() <= next + kEps)
                continue;
            const double ascent = m_layouter.ascent(item.style);
            const double spacing = m_layouter.lineSpacing(item.style);
            for (const TextLine& l : item.lines) {
                const double lineTop = top + l.y - ascent;
                if (lineTop + spacing > next + kEps) {
                    next = qMin(next, item.lines.first().y == l.y ? top : lineTop);
                    break;
                }
            }
        }
        if (next >= cut - kEps)
            return cut;
        cut = next;
    }
}

void Paginator::split(const BandLayout& band, double cut, BandLayout& first, BandLayout& rest) const
{
    first.row = rest.row = band.row;
    first.height = cut;
    rest.height = band.height - cut;
    for (int i = 0; i < band.items.size(); ++i) {
        const PageItem& item = band.items.at(i);
        const ReportObject* source = band.source.at(i);
        const QRectF r = item.rect;
        if (item.kind == PageItem::Kind::Line ? qMax(r.top(), r.bottom()) <= cut + kEps : r.bottom() <= cut + kEps) {
            first.items.append(item);
            first.source.append(source);
            continue;
        }
        if (item.kind == PageItem::Kind::Line ? qMin(r.top(), r.bottom()) >= cut - kEps : r.top() >= cut - kEps) {
            PageItem moved = item;
            moved.rect.translate(0, -cut);
            rest.items.append(moved);
            rest.source.append(source);
            continue;
        }
        PageItem upper = item, lower = item;
        if (item.kind == PageItem::Kind::Line) {
            // A slanted or vertical line is cut where it crosses the page break.
            const QPointF a = r.topLeft(), b = r.bottomRight();
            const double t = (cut - a.y()) / (b.y() - a.y());
            const QPointF m(a.x() + t * (b.x() - a.x()), cut);
            const QPointF& hi = a.y() < b.y() ? a : b;
            const QPointF& lo = a.y() < b.y() ? b : a;
            upper.rect = QRectF(hi, m);
            lower.rect = QRectF(m - QPointF(0, cut), lo - QPointF(0, cut));
        } else {
            upper.rect.setBottom(cut);
            lower.rect = QRectF(r.left(), 0, r.width(), r.bottom() - cut);
            if (item.kind == PageItem::Kind::Text) {
                const double ascent = m_layouter.ascent(item.style);
                const double spacing = m_layouter.lineSpacing(item.style);
                upper.lines.clear();
                lower.lines.clear();
                const double shift = cut - r.top();
                for (const TextLine& l : item.lines) {
                    if (r.top() + l.y - ascent + spacing <= cut + kEps) {
                        upper.lines.append(l);
                    } else {
                        TextLine moved = l;
                        moved.y = float(l.y - shift);
                        lower.lines.append(moved);
                    }
                }
            }
        }
        first.items.append(upper);
        first.source.append(source);
        rest.items.append(lower);
        rest.source.append(source);
    }
}

} // namespace zol::report
