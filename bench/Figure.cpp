#include "Figure.h"

#include <algorithm>

double Figure::Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double at = q * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(at);
    if (below + 1 >= values.size())
        return values.back();
    return values[below] + (at - static_cast<double>(below)) * (values[below + 1] - values[below]);
}

std::vector<double> Figure::PairRatios() const
{
    std::vector<double> ratios;
    for (size_t index = 0; index < samples.size() && index < peerSamples.size(); ++index) {
        if (peerSamples[index] > 0)
            ratios.push_back(samples[index] / peerSamples[index]);
    }
    return ratios;
}
