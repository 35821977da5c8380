// One line of the benchmark table: the samples of what we measure and, where
// there is one, of its peer measured in the same run.
#pragma once

#include <string>
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

    // The middle sample, or the mean of the two middle ones; 0 without samples.
    static double Median(std::vector<double> values);
    // Median of ours over median of the peer; 0 without a peer.
    double Ratio() const;
};
