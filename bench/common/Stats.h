// Summaries of repeated timings: on a machine whose speed under Wine varies from minute to minute, the median of
// many runs says more than their mean.
#pragma once

#include <algorithm>
#include <numeric>
#include <vector>

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline double Mean(const std::vector<double> &values) {
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}
