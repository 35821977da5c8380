// Present port devices for the benchmarks, made with the PortDevice library
// under a hardware ID of their own. Every device of that ID goes again when
// the object does, whatever happened meanwhile, and when it is made, in case
// an earlier run was cut short.
#pragma once

#include <windows.h>

class BenchDevices {
public:
    // Makes count devices named COM1, COM2, ...; stops at the first failure.
    explicit BenchDevices(int count);
    ~BenchDevices();
    BenchDevices(const BenchDevices&) = delete;
    BenchDevices& operator=(const BenchDevices&) = delete;

    // The error of the creation that failed, 0 when all were made.
    DWORD Error() const { return m_error; }

private:
    static void RemoveAll();

    DWORD m_error = ERROR_SUCCESS;
};
