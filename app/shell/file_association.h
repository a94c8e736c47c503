#pragma once
// The shell association of drawing documents with this program, for the
// current user (HKCU\Software\Classes): the type key ".kqmk" names the
// class "Kqmk File", whose open command starts the program with the
// document's path. Removal deletes only our own class.
#include <windows.h>

#include <optional>
#include <string>

#include "unique_handle.h"

// One registry key, open or not; closing clears it.
class CRegistryKey {
public:
    bool Create(HKEY parent, const std::wstring& path);
    bool Open(HKEY parent, const std::wstring& path, REGSAM access = KEY_READ);
    void Close() { m_key.Reset(); }
    HKEY Get() const { return m_key.Get(); }
    bool SetString(const wchar_t* name, const std::wstring& value);
    bool SetDword(const wchar_t* name, DWORD value);
    // A string value (name null for the default value); nothing when missing.
    std::optional<std::wstring> GetString(const wchar_t* name) const;

private:
    UniqueRegistryKey m_key;
};

class CFileAssociation {
public:
    static constexpr const wchar_t* kTypeName = L"Kqmk File";

    // classesRoot: where the types live; by default the current user's
    // Software\Classes. Runs the check once.
    CFileAssociation(const std::wstring& typeKey, std::wstring programFolder, HKEY classesRoot = nullptr);

    // Yes when the type key names our class and its open command is ours.
    bool IsDrawingFileTypeRegistered(const std::wstring& typeKey);
    bool RegisterDrawingFileType(const std::wstring& typeKey, const std::wstring& programFolder);
    // Deletes our class and the type key when the type key names our class;
    // false (and nothing deleted) otherwise.
    bool UnregisterDrawingFileType(const std::wstring& typeKey);

    bool IsRegistered() const { return m_registered; }
    // The open command: the program file quoted, then the quoted document.
    static std::wstring OpenCommand(const std::wstring& programPath);

private:
    static std::wstring ProgramPath();

    CRegistryKey m_key;
    bool m_registered = false;
    std::wstring m_typeName;
    std::wstring m_programFolder;
    UniqueRegistryKey m_ownRoot;
    HKEY m_root = nullptr;
};
