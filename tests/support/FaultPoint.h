// A platform call of the product that a test makes fail. While the object
// that Inject returns lives, the calls of the armed threads (ArmedThreads)
// are counted, and the chosen one, or every one, returns the failure value
// with the given last-error code instead of reaching the real function.
//
// A point is made in one line from an import of the test program, from a
// function-pointer variable the product calls through (a seam, or a table of
// functions loaded at run time):
//   IMPORT_FAULT("kernel32.dll", CreateFileW, INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED)
//   SLOT_FAULT(CWaitDialog::s_createThread, nullptr, ERROR_NOT_ENOUGH_MEMORY)
// and from an entry of the setup functions' table:
//   SETUP_FAULT(SetupIterateCabinetW, FALSE, ERROR_ACCESS_DENIED)
#pragma once

#include "ArmedThreads.h"
#include "ImportPatch.h"

#include "framework/SetupApi.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class FaultPoint {
public:
    static constexpr int kNoCall = 0;
    static constexpr int kEveryCall = -1;

    // Puts the failing replacement in place for the given call number (from
    // 1, or one of the constants above) until the returned object goes.
    using Injector = std::function<std::shared_ptr<void>(int failingCall)>;
    using Counter = std::function<int()>;

    FaultPoint(std::string name, Injector inject, Counter calls)
        : m_name(std::move(name)), m_inject(std::move(inject)), m_calls(std::move(calls))
    {
    }

    const std::string& Name() const { return m_name; }
    std::shared_ptr<void> Inject(int failingCall) const { return m_inject(failingCall); }
    // Calls of armed threads since the last Inject.
    int Calls() const { return m_calls(); }

private:
    std::string m_name;
    Injector m_inject;
    Counter m_calls;
};

// A table of points and rows that fail their calls: the point of a row's
// name (a missing one fails the test), all points, and the calls per point.
const FaultPoint& FindFaultPoint(const std::vector<FaultPoint>& points, const std::string& name);
std::vector<const FaultPoint*> AllFaultPoints(const std::vector<FaultPoint>& points);
// The calls of each point since its last injection.
std::map<std::string, int> FaultPointCalls(const std::vector<FaultPoint>& points);

// The last call number the rows fail per point (0 for a point without rows),
// checking that each point's rows go call by call from the first. Rows have
// the members point (a name) and failingCall. Equal to FaultPointCalls after
// a clean run when every call has its row.
template <typename Row>
std::map<std::string, int> CallsWithARow(const std::vector<FaultPoint>& points, const std::vector<Row>& rows);

namespace fault_point_detail {
void ExpectNextCall(const std::string& point, int failingCall, int& last);

template <typename T>
struct NonDeduced {
    using Type = T;
};

// One per faulted function (the tag tells them apart).
template <typename Tag, typename R, typename... A>
struct FailingCall {
    using Function = R(WINAPI*)(A...);
    static inline Function real = nullptr;
    static inline R failure{};
    static inline DWORD error = 0;
    static inline int failingCall = FaultPoint::kNoCall;
    static inline std::atomic<int> calls{ 0 };

    static R WINAPI Call(A... args)
    {
        if (ArmedThreads::IsArmed(::GetCurrentThreadId())) {
            const int call = ++calls;
            if (failingCall == FaultPoint::kEveryCall || call == failingCall) {
                ::SetLastError(error);
                return failure;
            }
        }
        return real(args...);
    }

    static void Prepare(R failureValue, DWORD errorCode, int failing)
    {
        failure = failureValue;
        error = errorCode;
        failingCall = failing;
        calls = 0;
    }
    static FaultPoint::Counter Counter()
    {
        return [] { return calls.load(); };
    }
};
}

template <typename Row>
std::map<std::string, int> CallsWithARow(const std::vector<FaultPoint>& points, const std::vector<Row>& rows)
{
    std::map<std::string, int> calls;
    for (const FaultPoint& point : points)
        calls[point.Name()] = 0;
    for (const Row& row : rows)
        fault_point_detail::ExpectNextCall(row.point, row.failingCall, calls[row.point]);
    return calls;
}

template <typename Tag, typename R, typename... A>
FaultPoint ImportFault(const char* dll, const char* function, R(WINAPI*)(A...),
                       typename fault_point_detail::NonDeduced<R>::Type failure, DWORD error)
{
    using Stub = fault_point_detail::FailingCall<Tag, R, A...>;
    return FaultPoint(
        std::string(function),
        [=](int failingCall) -> std::shared_ptr<void> {
            Stub::Prepare(failure, error, failingCall);
            return std::make_shared<ImportPatch>(dll, function, reinterpret_cast<void*>(&Stub::Call),
                                                 reinterpret_cast<void**>(&Stub::real));
        },
        Stub::Counter());
}

template <typename Tag, typename R, typename... A>
FaultPoint SlotFault(const char* name, R(WINAPI*& slot)(A...),
                     typename fault_point_detail::NonDeduced<R>::Type failure, DWORD error)
{
    using Stub = fault_point_detail::FailingCall<Tag, R, A...>;
    return FaultPoint(
        name,
        [=, &slot](int failingCall) -> std::shared_ptr<void> {
            Stub::Prepare(failure, error, failingCall);
            Stub::real = slot;
            slot = &Stub::Call;
            return std::shared_ptr<void>(nullptr, [&slot](void*) { slot = Stub::real; });
        },
        Stub::Counter());
}

// Each use declares a tag of its own, so that every point has its own replacement.
#define FAULT_TAG_(counter) FaultTag##counter
#define FAULT_TAG(counter) FAULT_TAG_(counter)
#define IMPORT_FAULT(dll, function, failure, error) \
    ImportFault<struct FAULT_TAG(__COUNTER__)>(dll, #function, &::function, failure, error)
#define SLOT_FAULT(slot, failure, error) SlotFault<struct FAULT_TAG(__COUNTER__)>(#slot, slot, failure, error)
#define SETUP_FAULT(function, failure, error) \
    SlotFault<struct FAULT_TAG(__COUNTER__)>(#function, SetupApi::Get().function, failure, error)
