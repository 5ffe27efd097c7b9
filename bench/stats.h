#pragma once
// Summaries of repeated measurements.
#include <algorithm>
#include <cmath>
#include <vector>

inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Nearest-rank percentile (p in 0..100): the smallest value that at least p% of the values do not exceed.
inline double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(std::ceil(p / 100.0 * double(values.size())));
    rank = std::min(std::max<size_t>(rank, 1), values.size());
    return values[rank - 1];
}
