#include "Figure.h"

#include <algorithm>

double Figure::Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Figure::Ratio() const
{
    const double peer = Median(peerSamples);
    return peer > 0 ? Median(samples) / peer : 0;
}
