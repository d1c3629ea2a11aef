#pragma once

#include "platform/win32/windows_api.h"
#include "settings/registry_backend.h"

#include <map>

namespace kelvane {

// The settings store on Windows: the system registry through its single-byte (A) functions.
//
// The core's key handles are small numbers that this backend hands out for the keys it opened;
// the predefined roots are 0x80000000 plus the root index, as the registry numbers them. Key
// names, value names and the data of string values (types 1, 2 and 7) are UTF-8 in the core
// and the system's ANSI code page in the registry; a string the core writes is stored with as
// many bytes as it has characters there. Sizes reported to the core count UTF-8 bytes, so that a
// buffer of the reported size always holds the value. A text with a character that the code page
// cannot hold is not written at all, rather than written as a look-alike.
//
// A value or key that cannot be written is a problem the user hears of, once for the writes that
// belong together and when they are over, naming the key and why.
class Win32RegistryBackend : public RegistryBackend
{
public:
    Win32RegistryBackend() = default;
    ~Win32RegistryBackend() override;
    Win32RegistryBackend(const Win32RegistryBackend &) = delete;
    Win32RegistryBackend &operator=(const Win32RegistryBackend &) = delete;

    RegKey openKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    std::optional<RegValueInfo> queryValueInfo(RegKey key, std::string_view name) override;
    std::optional<std::string> queryValueData(RegKey key, std::string_view name,
                                              std::size_t bufferSize) override;
    bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void closeKey(RegKey key) override;
    void beginBatch() override;
    void endBatch() override;
    std::vector<SettingsProblem> takeProblems() override;

    // Keys that are open right now; a correct caller leaves none behind.
    std::size_t openKeyCount() const { return m_open.size(); }

    // The predefined key for a root handle: 0x80000000 plus the index, sign-extended to the
    // width of a pointer the way the system headers define HKEY_CURRENT_USER and its kin.
    static HKEY predefinedKey(RegKey root);

private:
    struct OpenKey
    {
        HKEY key;
        std::string path; // as the user finds it in the registry editor
    };

    // The system's key behind a handle of ours or a root; nullptr for anything else.
    HKEY systemKey(RegKey key) const;
    std::string pathOf(RegKey key) const;
    RegKey issue(HKEY key, std::string path);
    // The value's type and bytes as the A functions give them, read whole.
    std::optional<std::pair<DWORD, std::string>> readWhole(HKEY key, const std::string &name);
    void writeFailed(SettingsProblem::Kind kind, std::string path, std::string reason);

    std::map<RegKey, OpenKey> m_open;
    RegKey m_nextHandle = 1;
    int m_batchDepth = 0;
    bool m_toldInBatch = false;
    std::vector<SettingsProblem> m_problems;
};

} // namespace kelvane
