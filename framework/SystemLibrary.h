// DLLs taken from the system folder by full path, never by search.
#pragma once

#include <windows.h>

// A function of a loaded module by name, as the caller's pointer type; null
// when the module lacks it.
template <typename Function>
Function ModuleFunction(HMODULE module, const char* name)
{
    if (!module)
        return nullptr;
    // Through void (*)(): the one function type any other may be cast from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// A function of kernel32 that older Windows may lack, looked up at run time:
// a static import of it would keep the tool from starting there.
template <typename Function>
Function KernelFunction(const char* name)
{
    return ModuleFunction<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

// Owns one reference to a system DLL. The DLLs that it imports in turn are
// looked for beside it, in the system folder, before the usual search.
class SystemLibrary {
public:
    // fileName is a bare file name such as L"setupapi.dll".
    explicit SystemLibrary(const wchar_t* fileName) noexcept;
    ~SystemLibrary();

    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // Null when the DLL could not be loaded.
    HMODULE Get() const noexcept { return m_module; }

private:
    HMODULE m_module = nullptr;
};
