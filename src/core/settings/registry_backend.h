#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Value type codes as the registry numbers them.
namespace RegType {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t String = 1;
inline constexpr std::uint32_t ExpandString = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t MultiString = 7;
} // namespace RegType

// Access rights of an open key.
namespace RegAccess {
inline constexpr std::uint32_t QueryValue = 0x1;
inline constexpr std::uint32_t SetValue = 0x2;
inline constexpr std::uint32_t CreateSubKey = 0x4;
inline constexpr std::uint32_t EnumerateSubKeys = 0x8;
inline constexpr std::uint32_t Notify = 0x10;
inline constexpr std::uint32_t CreateLink = 0x20;
inline constexpr std::uint32_t AllAccess = 0x3F;
} // namespace RegAccess

// A key handle. The predefined roots are 0x80000000 plus the root index; 0 is never valid.
using RegKey = std::uint32_t;
inline constexpr RegKey kInvalidKey = 0;
inline constexpr RegKey kRootBase = 0x80000000u;
inline constexpr RegKey kCurrentUserRoot = kRootBase + 1;

// The roots' names, indexed by root index as the handles count them from kRootBase.
inline constexpr std::array<std::string_view, 7> kRootNames = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

// A key's path below another's: "parent\\sub", or either alone where the other is empty.
inline std::string joinKeyPath(std::string_view parent, std::string_view sub)
{
    std::string path(parent);
    if (!path.empty() && !sub.empty())
        path += '\\';
    path += sub;
    return path;
}

// A root's name; empty for any other handle.
inline std::string_view rootName(RegKey key)
{
    return key >= kRootBase && key - kRootBase < kRootNames.size() ? kRootNames[key - kRootBase]
                                                                   : std::string_view();
}

struct RegValueInfo
{
    std::uint32_t type = RegType::None;
    std::size_t size = 0;
};

// Something about the store that the user should hear of. The store's operations stay silent; the
// program asks the backend for these separately and shows them.
struct SettingsProblem
{
    enum class Kind {
        SetAside,   // the settings could not be read; the file was moved to `keptAs`
        Unreadable, // the settings could not be read, and the file could not be moved aside
        SaveFailed, // changed values could not be written; they are kept for the next try
        Unstorable, // a value or name the store cannot hold; it stays unsaved until it changes
    };
    Kind kind = Kind::SaveFailed;
    std::string file;
    std::string keptAs;
    std::string reason; // why, as a sentence for the user
};

// The few primitives the settings store needs from a registry. Every function reports failure
// by its result; none throws. Names of keys and values compare without regard to ASCII case.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;

    // Opens `subKey` below `parent` (a root or an open key); an empty `subKey` opens `parent`
    // itself once more. Returns kInvalidKey on failure.
    virtual RegKey openKey(RegKey parent, std::string_view subKey, std::uint32_t access) = 0;
    // Creates the sub-key when missing (non-volatile, empty class, default security) and opens
    // it. `parent` must have been opened with CreateSubKey access.
    virtual RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) = 0;
    // Type and byte count of a value, without its data. Needs QueryValue access.
    virtual std::optional<RegValueInfo> queryValueInfo(RegKey key, std::string_view name) = 0;
    // The data of a value into a buffer of `bufferSize` bytes; fails when the data do not fit.
    // The result holds exactly the value's bytes. Needs QueryValue access.
    virtual std::optional<std::string> queryValueData(RegKey key, std::string_view name,
                                                      std::size_t bufferSize) = 0;
    // Sets a value to `data` with the given type. Needs SetValue access.
    virtual bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                          std::string_view data) = 0;
    virtual void closeKey(RegKey key) = 0;

    // Brackets a run of writes that belong together (one window's save routine). A backend may
    // keep them and make them durable at once when the outermost bracket ends; reads inside the
    // bracket see the writes already.
    virtual void beginBatch() {}
    virtual void endBatch() {}

    // What went wrong since the last call, oldest first; each problem is handed out once.
    virtual std::vector<SettingsProblem> takeProblems() { return {}; }
};

} // namespace kelvane
