#pragma once

#include "ReportPlan.h"
#include "ReportProgress.h"

#include <span>
#include <vector>

namespace fai {

// One band on a page: which band, for which row, where from the page's top, how tall (units).
struct PlacedBand {
    int band = -1;
    int row = 0;
    double top = 0;
    double height = 0;
    bool continued = false;  // a group header repeated because its group goes on
};

// The pages of a report, laid out once: for each page only where its bands go, so that a
// report of any length costs a few numbers per row and any page is painted when asked for.
//
// The rules: the report header opens the first page; the page header starts every page and
// the page footer closes it at the foot of the body; a group's header and footer come where
// its field changes value; a group header is never left at the foot of a page without the
// first row of its group (the headers and that row go to the next page together); when a
// group goes on over a page break, its header is printed again under the page header, with
// its continuation-only elements; the summary closes the report. A band taller than what is
// left of a page starts a new page, unless the page holds nothing else yet (it is then
// printed there, cut at the foot, rather than pushed on for ever).
class ReportPages {
  public:
    static ReportPages Layout(const ReportPlan& plan, ReportProgress& progress);

    int Count() const { return int(starts_.size()); }
    std::span<const PlacedBand> Page(int page) const;

  private:
    friend class Paginator;
    std::vector<PlacedBand> placed_;
    std::vector<std::size_t> starts_;  // the first band of each page in placed_
};

}  // namespace fai
