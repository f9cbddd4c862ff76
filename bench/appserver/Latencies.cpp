#include "Latencies.h"

#include <algorithm>
#include <stdexcept>

namespace fai::appserver::bench {

void Latencies::Add(std::chrono::steady_clock::duration took) {
    ms_.push_back(std::chrono::duration<double, std::milli>(took).count());
}

double Latencies::PercentileMs(int percent) const {
    if (ms_.empty()) throw std::logic_error("no samples");
    std::vector<double> sorted = ms_;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t rank = (sorted.size() * percent + 99) / 100;  // nearest rank, 1-based
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace fai::appserver::bench
