// The setup functions come from the system folder's setupapi.dll, whatever
// lies in the program's folder, and a table that could not be bound fails
// each call the way the setup functions report failure.
#include "framework/SetupApi.h"
#include "framework/SystemLibrary.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

namespace {

std::wstring SystemFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

std::wstring ModuleFileOf(const void* address)
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCWSTR>(address), &module))
        return L"";
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

template <typename Function>
const void* Address(Function function)
{
    return reinterpret_cast<const void*>(function);
}

TEST(SystemLibrary, LoadsTheSystemFoldersCopy)
{
    SystemLibrary library(L"setupapi.dll");
    ASSERT_NE(library.Get(), nullptr);
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(library.Get(), path, MAX_PATH);
    EXPECT_EQ(_wcsicmp(path, SystemFile(L"setupapi.dll").c_str()), 0) << path;
}

TEST(SystemLibrary, IgnoresADllInTheProgramFolder)
{
    // The build puts this DLL next to the test program, and nowhere else.
    SystemLibrary library(L"tavrin_planted.dll");
    EXPECT_EQ(library.Get(), nullptr);
}

TEST(SetupApi, EveryEntryLiesInTheSystemsSetupApi)
{
    const SetupApi& setup = SetupApi::Get();
    const std::wstring expected = SystemFile(L"setupapi.dll");
    const void* entries[] = {
        Address(setup.SetupDiGetClassDevsW),          Address(setup.SetupDiEnumDeviceInfo),
        Address(setup.SetupDiOpenDevRegKey),          Address(setup.SetupDiDestroyDeviceInfoList),
        Address(setup.SetupDiGetDeviceRegistryPropertyW), Address(setup.SetupDiSetDeviceRegistryPropertyW),
        Address(setup.SetupDiSetClassInstallParamsW), Address(setup.SetupDiChangeState),
        Address(setup.SetupDiLoadClassIcon),          Address(setup.SetupIterateCabinetW),
    };
    for (size_t i = 0; i < sizeof(entries) / sizeof(entries[0]); ++i)
        EXPECT_EQ(_wcsicmp(ModuleFileOf(entries[i]).c_str(), expected.c_str()), 0) << "entry " << i;
}

TEST(SetupApi, TableOfAMissingLibraryFailsEveryCall)
{
    SystemLibrary missing(L"tavrin_planted.dll");
    ASSERT_EQ(missing.Get(), nullptr);
    const SetupApi setup(missing);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    BYTE buffer[16] = {};
    HICON icon = nullptr;
    INT index = 0;

    // Each call is made with the error preset to something else, so that a
    // stand-in which leaves the error alone is caught.
    auto run = [](auto call) {
        ::SetLastError(ERROR_SUCCESS);
        const bool succeeded = call();
        return std::make_pair(succeeded, ::GetLastError());
    };
    const std::pair<const char*, std::pair<bool, DWORD>> results[] = {
        { "SetupDiGetClassDevsW",
          run([&] {
              return setup.SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES) != INVALID_HANDLE_VALUE;
          }) },
        { "SetupDiEnumDeviceInfo", run([&] { return setup.SetupDiEnumDeviceInfo(nullptr, 0, &device) != FALSE; }) },
        { "SetupDiOpenDevRegKey",
          run([&] {
              return setup.SetupDiOpenDevRegKey(nullptr, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ) !=
                     static_cast<HKEY>(INVALID_HANDLE_VALUE);
          }) },
        { "SetupDiDestroyDeviceInfoList", run([&] { return setup.SetupDiDestroyDeviceInfoList(nullptr) != FALSE; }) },
        { "SetupDiGetDeviceRegistryPropertyW",
          run([&] {
              return setup.SetupDiGetDeviceRegistryPropertyW(nullptr, &device, SPDRP_DEVICEDESC, nullptr, buffer,
                                                             sizeof(buffer), nullptr) != FALSE;
          }) },
        { "SetupDiSetDeviceRegistryPropertyW",
          run([&] {
              return setup.SetupDiSetDeviceRegistryPropertyW(nullptr, &device, SPDRP_FRIENDLYNAME, buffer,
                                                             sizeof(buffer)) != FALSE;
          }) },
        { "SetupDiSetClassInstallParamsW",
          run([&] { return setup.SetupDiSetClassInstallParamsW(nullptr, &device, nullptr, 0) != FALSE; }) },
        { "SetupDiChangeState", run([&] { return setup.SetupDiChangeState(nullptr, &device) != FALSE; }) },
        { "SetupDiLoadClassIcon", run([&] { return setup.SetupDiLoadClassIcon(nullptr, &icon, &index) != FALSE; }) },
        { "SetupIterateCabinetW",
          run([&] { return setup.SetupIterateCabinetW(L"x.cab", 0, nullptr, nullptr) != FALSE; }) },
    };
    for (const auto& [name, result] : results) {
        EXPECT_FALSE(result.first) << name;
        EXPECT_EQ(result.second, static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << name;
    }
}

}  // namespace
