// One line of the benchmark table: the samples of what we measure and, where
// there is one, of its peer, sample i of each measured side by side.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct Figure {
    std::string name;
    std::string unit;                 // of the samples: "ms" or "us"
    std::vector<double> samples;
    std::string peerName;             // empty: no peer
    std::vector<double> peerSamples;
    double goal = 0;                  // highest acceptable ratio; 0: none
    double megabytes = 0;             // data handled per sample, for a rate; 0: none
    std::string error;                // why the figure could not be taken; empty when it was

    // The value below which the fraction q of the values lie, between the two
    // nearest where it falls between them: q 0.5 is the median. 0 without values.
    static double Quantile(std::vector<double> values, double q);
    static double Median(std::vector<double> values) { return Quantile(std::move(values), 0.5); }
    // Ours over the peer in each pair measured side by side: a burst of load
    // weighs on both of a pair, so their ratio keeps what the load would move.
    // Empty without a peer.
    std::vector<double> PairRatios() const;
};
