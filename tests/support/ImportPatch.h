// Points one import of the test program itself (found by DLL and function
// name in its import table) at another function while the object lives. The
// product code is linked into the program, so its calls of that function go
// to the replacement; calls from other DLLs do not.
#pragma once

#include <windows.h>

#include <vector>

class ImportPatch {
public:
    // original receives the function the import pointed to before the swap;
    // a missing import fails the test and patches nothing.
    ImportPatch(const char* dll, const char* function, void* replacement, void** original);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

private:
    struct Slot {
        void** entry;
        void* previous;
    };
    static void Write(void** entry, void* value);

    std::vector<Slot> m_slots;
};
