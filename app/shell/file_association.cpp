#include "file_association.h"

#include <shlobj.h>

#include <vector>

namespace {
constexpr const wchar_t* kUserClasses = L"Software\\Classes";

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}
}  // namespace

bool CRegistryKey::Create(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    m_key.Reset();
    if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    m_key.Reset(key);
    return true;
}

bool CRegistryKey::Open(HKEY parent, const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    m_key.Reset();
    if (RegOpenKeyExW(parent, path.c_str(), 0, access, &key) != ERROR_SUCCESS) {
        return false;
    }
    m_key.Reset(key);
    return true;
}

bool CRegistryKey::SetString(const wchar_t* name, const std::wstring& value) {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return m_key && RegSetValueExW(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
                        ERROR_SUCCESS;
}

bool CRegistryKey::SetDword(const wchar_t* name, DWORD value) {
    return m_key && RegSetValueExW(m_key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof(value)) == ERROR_SUCCESS;
}

std::optional<std::wstring> CRegistryKey::GetString(const wchar_t* name) const {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!m_key || RegQueryValueExW(m_key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(m_key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The stored value may or may not carry its terminating zero.
    return std::wstring(buffer.data());
}

CFileAssociation::CFileAssociation(const std::wstring& typeKey, std::wstring programFolder, HKEY classesRoot)
    : m_programFolder(std::move(programFolder)), m_root(classesRoot) {
    if (!m_root) {
        HKEY root = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserClasses, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr) ==
            ERROR_SUCCESS) {
            m_ownRoot.Reset(root);
            m_root = root;
        }
    }
    IsDrawingFileTypeRegistered(typeKey);
}

std::wstring CFileAssociation::ProgramPath() {
    std::vector<wchar_t> buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

std::wstring CFileAssociation::OpenCommand(const std::wstring& programPath) {
    return L"\"" + programPath + L"\" \"%1\"";
}

bool CFileAssociation::IsDrawingFileTypeRegistered(const std::wstring& typeKey) {
    m_registered = false;
    if (!m_root || typeKey.empty() || m_programFolder.empty() || !m_key.Open(m_root, typeKey)) {
        return false;
    }
    m_typeName = m_key.GetString(nullptr).value_or(L"");
    if (m_typeName.empty() || !m_key.Open(m_root, m_typeName + L"\\shell\\open\\command")) {
        return false;
    }
    const std::optional<std::wstring> command = m_key.GetString(nullptr);
    m_key.Close();
    m_registered = command && SameText(*command, OpenCommand(ProgramPath()));
    return m_registered;
}

bool CFileAssociation::RegisterDrawingFileType(const std::wstring& typeKey, const std::wstring& programFolder) {
    if (!m_root || typeKey.empty() || programFolder.empty()) {
        return false;
    }
    m_programFolder = programFolder;
    m_typeName = kTypeName;
    UnregisterDrawingFileType(typeKey);
    const std::wstring base = m_typeName;
    const bool written =
        m_key.Create(m_root, typeKey) && m_key.SetString(nullptr, m_typeName) && m_key.Create(m_root, base) &&
        m_key.SetString(nullptr, m_typeName) && m_key.SetDword(L"BrowserFlags", 8) && m_key.SetDword(L"EditFlags", 0) &&
        m_key.Create(m_root, base + L"\\DefaultIcon") && m_key.SetString(nullptr, m_programFolder + L"kqmk.ico") &&
        m_key.Create(m_root, base + L"\\shell\\open\\command") && m_key.SetString(nullptr, OpenCommand(ProgramPath()));
    m_key.Close();
    if (!written) {
        return false;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    m_registered = true;
    return true;
}

bool CFileAssociation::UnregisterDrawingFileType(const std::wstring& typeKey) {
    if (!m_root || typeKey.empty() || !m_key.Open(m_root, typeKey)) {
        return false;
    }
    const std::optional<std::wstring> typeName = m_key.GetString(nullptr);
    m_key.Close();
    // Only our own class goes: an empty or foreign class name belongs to
    // someone else (or to nobody) and is left alone.
    if (!typeName || *typeName != kTypeName) {
        return false;
    }
    if (RegDeleteTreeW(m_root, typeName->c_str()) != ERROR_SUCCESS) {
        return false;
    }
    const bool removed = RegDeleteTreeW(m_root, typeKey.c_str()) == ERROR_SUCCESS;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    m_registered = false;
    return removed;
}
