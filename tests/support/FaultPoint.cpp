#include "FaultPoint.h"

#include <gtest/gtest.h>

#include <stdexcept>

const FaultPoint& FindFaultPoint(const std::vector<FaultPoint>& points, const std::string& name)
{
    for (const FaultPoint& point : points) {
        if (point.Name() == name)
            return point;
    }
    ADD_FAILURE() << "no fault point " << name;
    throw std::invalid_argument(name);
}

std::vector<const FaultPoint*> AllFaultPoints(const std::vector<FaultPoint>& points)
{
    std::vector<const FaultPoint*> all;
    for (const FaultPoint& point : points)
        all.push_back(&point);
    return all;
}

std::map<std::string, int> FaultPointCalls(const std::vector<FaultPoint>& points)
{
    std::map<std::string, int> calls;
    for (const FaultPoint& point : points)
        calls[point.Name()] = point.Calls();
    return calls;
}

void fault_point_detail::ExpectNextCall(const std::string& point, int failingCall, int& last)
{
    EXPECT_EQ(failingCall, last + 1) << point << ": rows go call by call";
    last = failingCall;
}
