#include "SetupApi.h"

#include "SystemLibrary.h"

#include <type_traits>

namespace {
// Stands in for a function that could not be bound: fails the way the setup
// functions report failure, FALSE or INVALID_HANDLE_VALUE.
template <typename Function>
struct Unbound;

template <typename Result, typename... Args>
struct Unbound<Result(WINAPI*)(Args...)> {
    static Result WINAPI Call(Args...)
    {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        if constexpr (std::is_pointer_v<Result>)
            return reinterpret_cast<Result>(INVALID_HANDLE_VALUE);
        else
            return FALSE;
    }
};

template <typename Function>
void Bind(HMODULE module, const char* name, Function& slot)
{
    slot = ModuleFunction<Function>(module, name);
    if (!slot)
        slot = &Unbound<Function>::Call;
}
}

SetupApi& SetupApi::Get()
{
    // Loaded once and kept for the life of the process: the table points into it.
    static SystemLibrary library(L"setupapi.dll");
    static SetupApi table(library);
    return table;
}

SetupApi::SetupApi(const SystemLibrary& library)
{
    const HMODULE module = library.Get();
#define TAVRIN_BIND_SETUP_FUNCTION(name) Bind(module, #name, name);
    TAVRIN_SETUP_FUNCTIONS(TAVRIN_BIND_SETUP_FUNCTION)
#undef TAVRIN_BIND_SETUP_FUNCTION
}
