#include "ReportPages.h"

namespace fai {

namespace {

// Lengths closer than this are equal: a band that fills the page to the last unit fits.
constexpr double kTolerance = 1e-6;
constexpr int kProgressEvery = 500;

}  // namespace

class Paginator {
  public:
    Paginator(const ReportPlan& plan, ReportPages& pages, ReportProgress& progress)
        : plan_(plan),
          pages_(pages),
          progress_(progress),
          open_(std::size_t(plan.Totals().GroupCount()), false) {
        const int footer = plan.PageFooter();
        footerTop_ = plan.Body().bottom() - (footer < 0 ? 0 : plan.Band(footer).height);
    }

    void Run() {
        const int rows = plan_.Table().RowCount();
        StartPage(0, true);
        for (int row = 0; row < rows; ++row) {
            const int level = plan_.Totals().BreakLevel(row);
            if (row > 0) CloseGroups(level, row - 1);
            OpenGroups(level, row);
            if (plan_.Detail() >= 0) Place(plan_.Detail(), row);
            if ((row + 1) % kProgressEvery == 0)
                progress_.Step(QStringLiteral("Montando as páginas"), row + 1, rows);
        }
        const int last = std::max(rows - 1, 0);
        if (rows > 0) CloseGroups(0, last);
        if (plan_.Summary() >= 0) Place(plan_.Summary(), last);
        EndPage(last);
    }

  private:
    void CloseGroups(int level, int row) {
        for (int g = int(open_.size()) - 1; g >= level; --g) {
            if (plan_.GroupFooter(g) >= 0) Place(plan_.GroupFooter(g), row);
            open_[std::size_t(g)] = false;
        }
    }

    // The headers of the groups that start at the row, kept on one page with the row.
    void OpenGroups(int level, int row) {
        double needed = plan_.Detail() >= 0 ? Height(plan_.Detail(), row) : 0;
        for (int g = level; g < int(open_.size()); ++g) {
            if (plan_.GroupHeader(g) >= 0) needed += Height(plan_.GroupHeader(g), row);
        }
        MakeRoom(needed, row);
        for (int g = level; g < int(open_.size()); ++g) {
            open_[std::size_t(g)] = true;
            if (plan_.GroupHeader(g) >= 0)
                Put(plan_.GroupHeader(g), row, Height(plan_.GroupHeader(g), row), false);
        }
    }

    void Place(int band, int row) {
        const double height = Height(band, row);
        MakeRoom(height, row);
        Put(band, row, height, false);
    }

    void MakeRoom(double height, int row) {
        if (y_ + height <= footerTop_ + kTolerance || !bodyStarted_) return;
        EndPage(lastRow_);
        StartPage(row, false);
    }

    void StartPage(int row, bool first) {
        pages_.starts_.push_back(pages_.placed_.size());
        y_ = plan_.Body().top();
        if (first && plan_.ReportHeader() >= 0)
            Put(plan_.ReportHeader(), row, Height(plan_.ReportHeader(), row), false);
        if (plan_.PageHeader() >= 0)
            Put(plan_.PageHeader(), row, Height(plan_.PageHeader(), row), false);
        for (std::size_t g = 0; !first && g < open_.size(); ++g) {
            const int header = plan_.GroupHeader(int(g));
            if (open_[g] && header >= 0 && plan_.RepeatsHeader(int(g)))
                Put(header, row, Height(header, row, true), true);
        }
        bodyStarted_ = false;
    }

    void EndPage(int row) {
        const int footer = plan_.PageFooter();
        if (footer >= 0)
            pages_.placed_.push_back({footer, row, footerTop_, plan_.Band(footer).height, false});
    }

    void Put(int band, int row, double height, bool continued) {
        pages_.placed_.push_back({band, row, y_, height, continued});
        y_ += height;
        bodyStarted_ = true;
        lastRow_ = row;
    }

    double Height(int band, int row, bool continued = false) const {
        PrintContext context;
        context.row = row;
        context.page = int(pages_.starts_.size());
        context.continued = continued;
        return plan_.BandHeight(band, context);
    }

    const ReportPlan& plan_;
    ReportPages& pages_;
    ReportProgress& progress_;
    std::vector<bool> open_;
    double footerTop_ = 0;
    double y_ = 0;
    bool bodyStarted_ = false;
    int lastRow_ = 0;
};

ReportPages ReportPages::Layout(const ReportPlan& plan, ReportProgress& progress) {
    ReportPages pages;
    Paginator(plan, pages, progress).Run();
    return pages;
}

std::span<const PlacedBand> ReportPages::Page(int page) const {
    const std::size_t first = starts_[std::size_t(page)];
    const std::size_t end =
        std::size_t(page) + 1 < starts_.size() ? starts_[std::size_t(page) + 1] : placed_.size();
    return {placed_.data() + first, end - first};
}

}  // namespace fai
