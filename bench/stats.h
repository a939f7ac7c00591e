// Summaries of timing samples. Portable: no Windows headers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zol::bench {

struct Summary {
    double min = 0;
    double median = 0;
    double max = 0;
    std::size_t count = 0;
};

// The median of an even count is the mean of the two middle samples. An empty
// set of samples gives all zeros with a count of 0, which the report shows as
// "no samples" rather than as a figure.
inline Summary summarize(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.min = samples.front();
    s.max = samples.back();
    const std::size_t mid = samples.size() / 2;
    s.median = samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
    return s;
}

}  // namespace zol::bench
