#pragma once

#include "reports/PreparedReport.h"

#include <QString>

class QIODevice;
class QPainter;

namespace zol::report {

// Paints one page. The painter's coordinates must be dots (1/1200 inch) from the paper's
// top-left corner: the caller scales for its device. The same function serves the preview,
// the printer and the PDF file. highlight (page coordinates) marks a found text.
void paintPage(QPainter& painter, const PreparedReport& report, int page, const QRectF& highlight = QRectF());

// Writes every page to a PDF document.
bool writePdf(const PreparedReport& report, QIODevice* device, QString* error);
// Writes a PDF file through a temporary file that replaces the target only when complete.
bool writePdf(const PreparedReport& report, const QString& path, QString* error);

} // namespace zol::report
