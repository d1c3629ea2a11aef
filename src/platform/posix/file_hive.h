#pragma once

#include "settings/registry_tree.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The settings store on Linux: the current user's keys in one text file in the registry export
// format, shared by every running instance of the program.
//
// Reads come from a tree in memory, which is read again whenever the file on disk no longer looks
// like the one last read. Writes change the tree at once and are kept in a journal; outside a
// batch each write replaces the file, inside one the outermost endBatch() does. To replace the
// file, the store takes a lock on "<file>.lock", always reads the file again (a file system may
// hand a freed inode out again with the same size and time stamps, so nothing short of reading
// tells that another instance wrote it), replays its journal on top, writes "<file>.tmp",
// flushes it and renames it over the file, so that two instances never drop each other's values
// and a crash leaves the old or the new file. When the file is a symbolic link, the link stays
// and the file it points to is replaced in the same way.
//
// Only the current user's root is served. Sections under other roots found in the file are
// kept and written back unchanged, but read as absent. A file that cannot be read as a whole
// reads as empty and is renamed to "<file>.unreadable-<date>-<time>" beside it as soon as it is
// found, under the lock. Keys and names beyond the registry's limits are neither read nor made,
// and a save whose text would be too large to be read again leaves the file as it was. Nothing
// throws; what the user should know of (a file set aside, a save that failed) is kept for
// takeProblems().
class FileHiveBackend : public TreeRegistryBackend
{
public:
    explicit FileHiveBackend(std::string filePath);
    ~FileHiveBackend() override;
    FileHiveBackend(const FileHiveBackend &) = delete;
    FileHiveBackend &operator=(const FileHiveBackend &) = delete;

    // $XDG_CONFIG_HOME/kelvane/settings.reg, else ~/.config/kelvane/settings.reg; empty when
    // the home directory is unknown.
    static std::string defaultSettingsPath();

    const std::string &filePath() const { return m_filePath; }
    // Where an unreadable file was moved, once it was.
    std::optional<std::string> setAsidePath() const { return m_setAsidePath; }
    // How often this store has replaced the file.
    int fileReplaceCount() const { return m_fileReplaceCount; }

    RegKey createKey(RegKey parent, std::string_view subKey, std::uint32_t access) override;
    bool setValue(RegKey key, std::string_view name, std::uint32_t type,
                  std::string_view data) override;
    void beginBatch() override;
    void endBatch() override;
    std::vector<SettingsProblem> takeProblems() override;

protected:
    bool holdsRoot(RegKey root) const override { return root == kCurrentUserRoot; }
    void refresh(Use use) override;
    void changed(RegKey root, std::string_view path, const StoredValue *value) override;

private:
    // Tells one version of the file from another: the rename that replaces it makes a new
    // inode, and an editor that rewrites it in place changes its size or time.
    struct FileIdentity
    {
        bool exists = false;
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedSeconds = 0;
        long modifiedNanoseconds = 0;
        long long changedSeconds = 0;
        long changedNanoseconds = 0;

        bool operator==(const FileIdentity &) const = default;
    };

    struct JournalEntry
    {
        RegKey root;
        std::string keyPath;
        std::optional<StoredValue> value; // none: the key was created
    };

    void reloadIfChanged();
    void load();
    void replayJournal();
    void commit();
    // Nothing on success, else why the file was not replaced.
    std::optional<std::string> commitLocked();
    // Moves the unreadable file aside while the lock is held, and tells the user either way.
    std::optional<std::string> setAside();
    void setAsideUnderLock();
    // The file that is replaced: the settings file, or the file its symbolic link points to.
    std::optional<std::string> fileToReplace() const;

    std::string m_filePath;
    std::optional<FileIdentity> m_loaded; // none until the file was first looked at
    bool m_unreadable = false;
    std::string m_unreadableReason;
    bool m_saveFailing = false;
    std::vector<SettingsProblem> m_problems;
    std::vector<JournalEntry> m_journal;
    int m_batchDepth = 0;
    int m_fileReplaceCount = 0;
    std::optional<std::string> m_setAsidePath;
};

} // namespace kelvane
