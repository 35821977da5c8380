// A built executable read as a file, not loaded: its import table, its
// resources, its sections and what ties it to its symbols, for either
// architecture whatever the reading program's own.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class PeImage {
public:
    // Reads and checks the headers; false when the file is missing or not a
    // PE image.
    bool Load(const std::wstring& path);

    WORD Machine() const { return m_machine; }

    // Lower-case DLL name to the functions taken from it; an import by
    // ordinal appears as "#n".
    std::map<std::string, std::vector<std::string>> Imports() const;

    // The bytes of resource type/id in language, when present.
    std::optional<std::string> Resource(LPCWSTR type, WORD id, LANGID language) const;

    // Section names, the long ones read from the string table.
    std::vector<std::string> SectionNames() const;

    // The file bytes of the named section, when it is there with contents.
    std::optional<std::string> SectionData(const std::string& name) const;

    // Entries of the COFF symbol table.
    DWORD SymbolCount() const { return m_symbolCount; }

    // The CodeView record of the debug directory (signature, GUID, age, PDB
    // name): the build's identity. Empty when there is none.
    std::string CodeView() const;

    // The whole file.
    const std::string& Bytes() const { return m_bytes; }

private:
    struct Section {
        std::string name;
        DWORD rva;
        DWORD size;
        DWORD fileOffset;
        DWORD fileSize;
    };

    IMAGE_DATA_DIRECTORY Directory(int index) const;
    // File offset of rva, or 0 when no section holds it.
    DWORD Offset(DWORD rva) const;
    template <typename T>
    const T* At(DWORD offset) const;
    std::string TextAt(DWORD rva) const;
    // The entry named id under the resource directory at directoryOffset
    // (relative to the resource section); 0 when absent.
    DWORD ResourceEntry(DWORD directoryOffset, WORD id) const;

    std::string m_bytes;
    WORD m_machine = 0;
    bool m_wide = false;
    DWORD m_symbolCount = 0;
    std::vector<IMAGE_DATA_DIRECTORY> m_directories;
    std::vector<Section> m_sections;
};
