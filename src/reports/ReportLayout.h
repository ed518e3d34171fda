#pragma once

#include "reports/PreparedReport.h"
#include "reports/ReportTemplate.h"

#include <QFontMetricsF>
#include <QHash>

#include <functional>

namespace zol::report {

// A band laid out for one record: its height and its items, positioned from the band's top.
// source[i] is the object of items[i] when that item must be filled in again once the page
// numbers are known, otherwise null.
struct BandLayout
{
    double height = 0;
    QList<PageItem> items;
    QList<const ReportObject*> source;
    int row = -1;
};

// Turns text objects into lines with the fonts' metrics, and bands into positioned items.
class Layouter
{
public:
    Layouter(const ReportTemplate& tpl, PreparedReport& out);

    // text(object) gives the object's text for the record being laid out.
    BandLayout layoutBand(const Band& band, const std::function<QString(const ReportObject&)>& text,
                          const std::function<bool(const ReportObject&)>& deferred);

    // Lays text out in item (whose rect is set); returns the height the text needs.
    double layoutText(const ReportObject& o, const QString& text, PageItem& item, bool fitHeight);

    double ascent(int style) const { return m_metrics.at(style).ascent(); }
    double lineSpacing(int style) const { return m_metrics.at(style).lineSpacing(); }
    double pageLeft() const { return m_left; }

private:
    int styleFor(const ReportObject& o);

    const ReportTemplate& m_tpl;
    PreparedReport& m_out;
    QList<QFontMetricsF> m_metrics;
    QHash<QString, int> m_styleIndex;
    QHash<const ReportObject*, int> m_objectStyle;
    double m_left;
};

// Places laid-out bands on pages: the page header on every page, the footer's space kept free,
// a band that does not fit moved whole to the next page, a band taller than a page split
// between lines of text.
class Paginator
{
public:
    Paginator(const ReportTemplate& tpl, PreparedReport& out, Layouter& layouter, double footerHeight);

    // Called after a new page is added, to lay its page header.
    std::function<void()> onNewPage;
    // Called for each item placed whose source object must be filled in later.
    std::function<void(int page, int item, const ReportObject* object, int row)> onDeferred;

    void addPage();
    void place(BandLayout band);
    // Puts a band at the current position without any check (page headers).
    void placeFixed(const BandLayout& band);
    // Puts a band at a given height of a page (page footers).
    void placeAt(const BandLayout& band, int page, double top);

    double footerTop() const { return m_paperHeight - m_bottomMargin - m_footerHeight; }
    int pageCount() const { return int(m_out.pages.size()); }
    // The last record placed on each page, for the page footers.
    QList<int> lastRowOfPage;

private:
    double cutPoint(const BandLayout& band, double avail) const;
    void split(const BandLayout& band, double cut, BandLayout& first, BandLayout& rest) const;
    void put(const BandLayout& band, double top);

    const ReportTemplate& m_tpl;
    PreparedReport& m_out;
    Layouter& m_layouter;
    double m_footerHeight;
    double m_paperHeight;
    double m_topMargin;
    double m_bottomMargin;
    double m_y = 0;
    double m_freshTop = 0; // where bands start on a page after its header
    bool m_fresh = true;   // nothing but the header on the current page
};

} // namespace zol::report
