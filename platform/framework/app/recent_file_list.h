#pragma once
// The application's list of recently used files: newest first, at most a
// fixed number, kept in the registry profile under the current user (one
// value "File1", "File2", ... per entry in its section) and shown as
// numbered items of a menu in place of a placeholder item. Every change is
// written at once, so a list survives a program that does not end normally.
#include <windows.h>

#include <string>
#include <vector>

class CRecentFileList {
public:
    // profileKey: the program's key under HKEY_CURRENT_USER, e.g.
    // "Software\\Maker\\Program"; section: the subkey of the list; firstId:
    // the command of the newest entry, the others follow it.
    CRecentFileList(std::wstring profileKey, std::wstring section, UINT firstId, int size);

    // Reads the entries back from the profile.
    void Load();
    // Puts the path first; the same path (in any letter case) further down
    // goes, and the oldest entry drops out when the list is full.
    void Add(const std::wstring& path);
    void Remove(int index);

    int GetSize() const { return m_size; }
    UINT GetFirstId() const { return m_firstId; }
    const std::vector<std::wstring>& GetPaths() const { return m_paths; }
    // The entry of a command of the list; empty when it has none.
    std::wstring GetPath(UINT id) const;

    // In a menu that holds the list's items (or only the placeholder, the
    // first command), replaces them with "&1 path", "&2 path", ...; an empty
    // list leaves the placeholder with `emptyText`.
    void UpdateMenu(HMENU menu, const std::wstring& emptyText) const;

private:
    void Save() const;

    std::wstring m_profileKey;
    std::wstring m_section;
    UINT m_firstId;
    int m_size;
    std::vector<std::wstring> m_paths;
};
