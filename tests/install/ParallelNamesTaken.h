// Takes every LPT name in the port database, so that devcon cannot install a
// parallel port, until the object goes.
#pragma once

class ParallelNamesTaken {
public:
    ParallelNamesTaken();
    ~ParallelNamesTaken();
    ParallelNamesTaken(const ParallelNamesTaken&) = delete;
    ParallelNamesTaken& operator=(const ParallelNamesTaken&) = delete;
};
