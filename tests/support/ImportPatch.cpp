#include "ImportPatch.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
template <typename T>
T* At(BYTE* image, DWORD rva)
{
    return reinterpret_cast<T*>(image + rva);
}
}

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement, void** original)
{
    BYTE* image = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const IMAGE_NT_HEADERS* nt = At<IMAGE_NT_HEADERS>(image, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    // A DLL may be listed more than once; every entry of the function is swapped.
    for (IMAGE_IMPORT_DESCRIPTOR* import = At<IMAGE_IMPORT_DESCRIPTOR>(image, directory.VirtualAddress);
         directory.VirtualAddress && import->Name; ++import) {
        if (::lstrcmpiA(At<char>(image, import->Name), dll) != 0)
            continue;
        IMAGE_THUNK_DATA* names = At<IMAGE_THUNK_DATA>(image, import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* addresses = At<IMAGE_THUNK_DATA>(image, import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const IMAGE_IMPORT_BY_NAME* byName =
                At<IMAGE_IMPORT_BY_NAME>(image, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            void** entry = reinterpret_cast<void**>(&addresses->u1.Function);
            // The original is known before any call can reach the replacement.
            *original = *entry;
            m_slots.push_back({ entry, *entry });
            Write(entry, replacement);
        }
    }
    EXPECT_FALSE(m_slots.empty()) << "the program does not import " << dll << "!" << function;
}

ImportPatch::~ImportPatch()
{
    for (const Slot& slot : m_slots)
        Write(slot.entry, slot.previous);
}

void ImportPatch::Write(void** entry, void* value)
{
    DWORD protection = 0;
    if (!::VirtualProtect(entry, sizeof(*entry), PAGE_READWRITE, &protection)) {
        ADD_FAILURE() << "the import table cannot be made writable: " << ::GetLastError();
        return;
    }
    ::InterlockedExchangePointer(entry, value);
    ::VirtualProtect(entry, sizeof(*entry), protection, &protection);
}
