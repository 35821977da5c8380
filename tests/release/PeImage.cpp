#include "PeImage.h"

#include "framework/UniqueResource.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

template <typename T>
const T* PeImage::At(DWORD offset) const
{
    if (offset == 0 || offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T))
        return nullptr;
    return reinterpret_cast<const T*>(m_bytes.data() + offset);
}

bool PeImage::Load(const std::wstring& path)
{
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 64 * 1024 * 1024)
        return false;
    m_bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), m_bytes.data(), static_cast<DWORD>(m_bytes.size()), &read, nullptr)
        || read != m_bytes.size())
        return false;

    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m_bytes.data());
    if (m_bytes.size() < sizeof(IMAGE_DOS_HEADER) || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    const DWORD ntOffset = static_cast<DWORD>(dos->e_lfanew);
    const DWORD* signature = At<DWORD>(ntOffset);
    const auto* fileHeader = At<IMAGE_FILE_HEADER>(ntOffset + sizeof(DWORD));
    if (!signature || *signature != IMAGE_NT_SIGNATURE || !fileHeader)
        return false;
    m_machine = fileHeader->Machine;
    const DWORD optionalOffset = ntOffset + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
    const WORD* magic = At<WORD>(optionalOffset);
    if (!magic)
        return false;
    const IMAGE_DATA_DIRECTORY* directories = nullptr;
    DWORD count = 0;
    if (*magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
        const auto* optional = At<IMAGE_OPTIONAL_HEADER64>(optionalOffset);
        if (!optional)
            return false;
        directories = optional->DataDirectory;
        count = optional->NumberOfRvaAndSizes;
    } else if (*magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        const auto* optional = At<IMAGE_OPTIONAL_HEADER32>(optionalOffset);
        if (!optional)
            return false;
        directories = optional->DataDirectory;
        count = optional->NumberOfRvaAndSizes;
    } else {
        return false;
    }
    m_directories.assign(directories, directories + std::min<DWORD>(count, IMAGE_NUMBEROF_DIRECTORY_ENTRIES));

    m_symbolCount = fileHeader->NumberOfSymbols;
    // The string table follows the symbol table.
    const DWORD strings = fileHeader->PointerToSymbolTable + m_symbolCount * IMAGE_SIZEOF_SYMBOL;
    const DWORD sectionsOffset = optionalOffset + fileHeader->SizeOfOptionalHeader;
    m_sections.clear();
    for (WORD i = 0; i < fileHeader->NumberOfSections; ++i) {
        const auto* section = At<IMAGE_SECTION_HEADER>(sectionsOffset + i * sizeof(IMAGE_SECTION_HEADER));
        if (!section)
            return false;
        const char* shortName = reinterpret_cast<const char*>(section->Name);
        std::string name(shortName, strnlen(shortName, IMAGE_SIZEOF_SHORT_NAME));
        // "/n": the name lies at offset n of the string table.
        if (name.size() > 1 && name[0] == '/' && fileHeader->PointerToSymbolTable != 0) {
            const DWORD at = strings + static_cast<DWORD>(strtoul(name.c_str() + 1, nullptr, 10));
            if (at >= m_bytes.size())
                return false;
            name.assign(m_bytes.data() + at, strnlen(m_bytes.data() + at, m_bytes.size() - at));
        }
        m_sections.push_back({ name, section->VirtualAddress,
                               std::max<DWORD>(section->Misc.VirtualSize, section->SizeOfRawData),
                               section->PointerToRawData, section->SizeOfRawData });
    }
    m_wide = *magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    return true;
}

IMAGE_DATA_DIRECTORY PeImage::Directory(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_directories.size())
        return IMAGE_DATA_DIRECTORY{};
    return m_directories[index];
}

DWORD PeImage::Offset(DWORD rva) const
{
    for (const Section& section : m_sections)
        if (rva >= section.rva && rva - section.rva < section.size)
            return section.fileOffset + (rva - section.rva);
    return 0;
}

std::string PeImage::TextAt(DWORD rva) const
{
    const DWORD offset = Offset(rva);
    if (offset == 0 || offset >= m_bytes.size())
        return std::string();
    const char* start = m_bytes.data() + offset;
    return std::string(start, strnlen(start, m_bytes.size() - offset));
}

std::map<std::string, std::vector<std::string>> PeImage::Imports() const
{
    std::map<std::string, std::vector<std::string>> imports;
    const IMAGE_DATA_DIRECTORY table = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    for (DWORD at = table.VirtualAddress; table.VirtualAddress != 0; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(Offset(at));
        if (!descriptor || descriptor->Name == 0)
            break;
        std::string dll = TextAt(descriptor->Name);
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        std::vector<std::string>& functions = imports[dll];
        const DWORD thunks = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
        const DWORD thunkSize = m_wide ? sizeof(ULONGLONG) : sizeof(DWORD);
        for (DWORD thunk = thunks;; thunk += thunkSize) {
            const DWORD offset = Offset(thunk);
            ULONGLONG value = 0;
            bool byOrdinal = false;
            if (m_wide) {
                const ULONGLONG* entry = At<ULONGLONG>(offset);
                if (!entry)
                    break;
                value = *entry;
                byOrdinal = (value & IMAGE_ORDINAL_FLAG64) != 0;
            } else {
                const DWORD* entry = At<DWORD>(offset);
                if (!entry)
                    break;
                value = *entry;
                byOrdinal = (value & IMAGE_ORDINAL_FLAG32) != 0;
            }
            if (value == 0)
                break;
            if (byOrdinal)
                functions.push_back("#" + std::to_string(value & 0xFFFF));
            else  // past the hint
                functions.push_back(TextAt(static_cast<DWORD>(value) + sizeof(WORD)));
        }
    }
    return imports;
}

DWORD PeImage::ResourceEntry(DWORD directoryOffset, WORD id) const
{
    const DWORD base = Offset(Directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).VirtualAddress);
    const auto* directory = At<IMAGE_RESOURCE_DIRECTORY>(base + directoryOffset);
    if (!directory)
        return 0;
    const DWORD entries = base + directoryOffset + sizeof(IMAGE_RESOURCE_DIRECTORY);
    const DWORD count = directory->NumberOfNamedEntries + directory->NumberOfIdEntries;
    for (DWORD i = 0; i < count; ++i) {
        const auto* entry = At<IMAGE_RESOURCE_DIRECTORY_ENTRY>(entries + i * sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY));
        if (entry && !entry->NameIsString && entry->Id == id)
            return entry->OffsetToData;
    }
    return 0;
}

std::optional<std::string> PeImage::Resource(LPCWSTR type, WORD id, LANGID language) const
{
    if (Directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).VirtualAddress == 0)
        return std::nullopt;
    // Type, name and language levels; the first two lead to subdirectories.
    const DWORD typeEntry = ResourceEntry(0, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(type)));
    if (!(typeEntry & IMAGE_RESOURCE_DATA_IS_DIRECTORY))
        return std::nullopt;
    const DWORD nameEntry = ResourceEntry(typeEntry & ~IMAGE_RESOURCE_DATA_IS_DIRECTORY, id);
    if (!(nameEntry & IMAGE_RESOURCE_DATA_IS_DIRECTORY))
        return std::nullopt;
    const DWORD dataEntry = ResourceEntry(nameEntry & ~IMAGE_RESOURCE_DATA_IS_DIRECTORY, language);
    if (dataEntry == 0 || (dataEntry & IMAGE_RESOURCE_DATA_IS_DIRECTORY))
        return std::nullopt;
    const DWORD base = Offset(Directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).VirtualAddress);
    const auto* data = At<IMAGE_RESOURCE_DATA_ENTRY>(base + dataEntry);
    const DWORD offset = data ? Offset(data->OffsetToData) : 0;
    if (offset == 0 || offset > m_bytes.size() || m_bytes.size() - offset < data->Size)
        return std::nullopt;
    return m_bytes.substr(offset, data->Size);
}

std::vector<std::string> PeImage::SectionNames() const
{
    std::vector<std::string> names;
    for (const Section& section : m_sections)
        names.push_back(section.name);
    return names;
}

std::optional<std::string> PeImage::SectionData(const std::string& name) const
{
    for (const Section& section : m_sections)
        if (section.name == name && section.fileOffset != 0 && section.fileOffset <= m_bytes.size()
            && m_bytes.size() - section.fileOffset >= section.fileSize)
            return m_bytes.substr(section.fileOffset, section.fileSize);
    return std::nullopt;
}

std::string PeImage::CodeView() const
{
    const IMAGE_DATA_DIRECTORY table = Directory(IMAGE_DIRECTORY_ENTRY_DEBUG);
    const DWORD first = Offset(table.VirtualAddress);
    for (DWORD at = 0; table.VirtualAddress != 0 && at + sizeof(IMAGE_DEBUG_DIRECTORY) <= table.Size;
         at += sizeof(IMAGE_DEBUG_DIRECTORY)) {
        const auto* entry = At<IMAGE_DEBUG_DIRECTORY>(first + at);
        if (!entry)
            break;
        if (entry->Type == IMAGE_DEBUG_TYPE_CODEVIEW && entry->PointerToRawData != 0
            && entry->PointerToRawData <= m_bytes.size() && m_bytes.size() - entry->PointerToRawData >= entry->SizeOfData)
            return m_bytes.substr(entry->PointerToRawData, entry->SizeOfData);
    }
    return std::string();
}
