#pragma once

namespace zol {

// The years the office works on. The main window offers one button per year from first to
// last; a filing may be moved to any year up to highestYear.
namespace FilingYears {

constexpr int first = 2005;
constexpr int last = 2018;
// The highest year a filing may be moved to, and the year the change of year proposes.
constexpr int highestYear = 2018;
// Below this a typed year cannot be a calendar year of the office (a slip such as "12").
constexpr int lowestYear = 1000;

} // namespace FilingYears
} // namespace zol
