#pragma once

#include "reports/ReportTemplate.h"

namespace zol::report {

// Reads the text of a template into tpl (which starts empty); false with tpl's error set.
bool parseTemplateText(ReportTemplate& tpl, const QString& text);

} // namespace zol::report
