#pragma once

#include <chrono>
#include <vector>

namespace fai::appserver::bench {

// The durations of one measurement, summarised as the median and the 99th percentile.
class Latencies {
  public:
    void Add(std::chrono::steady_clock::duration took);
    std::size_t Count() const { return ms_.size(); }
    double MedianMs() const { return PercentileMs(50); }
    double P99Ms() const { return PercentileMs(99); }
    double MaxMs() const { return PercentileMs(100); }

  private:
    // The smallest sample that `percent` of the samples do not exceed.
    double PercentileMs(int percent) const;

    std::vector<double> ms_;
};

// Times `work` once.
template <class Work>
std::chrono::steady_clock::duration Timed(Work&& work) {
    const auto started = std::chrono::steady_clock::now();
    work();
    return std::chrono::steady_clock::now() - started;
}

}  // namespace fai::appserver::bench
