#include "recent_file_list.h"

#include <algorithm>

namespace {

std::wstring ValueName(int index) { return L"File" + std::to_wstring(index + 1); }

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

CRecentFileList::CRecentFileList(std::wstring profileKey, std::wstring section, UINT firstId, int size)
    : m_profileKey(std::move(profileKey)), m_section(std::move(section)), m_firstId(firstId), m_size(size) {}

void CRecentFileList::Load() {
    m_paths.clear();
    const std::wstring key = m_profileKey + L"\\" + m_section;
    for (int i = 0; i < m_size; ++i) {
        wchar_t value[MAX_PATH * 4] = {};
        DWORD bytes = sizeof(value);
        if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), ValueName(i).c_str(), RRF_RT_REG_SZ, nullptr, value, &bytes) ==
                ERROR_SUCCESS &&
            value[0] != L'\0') {
            m_paths.emplace_back(value);
        }
    }
}

void CRecentFileList::Add(const std::wstring& path) {
    if (path.empty()) {
        return;
    }
    std::erase_if(m_paths, [&path](const std::wstring& listed) { return SamePath(listed, path); });
    m_paths.insert(m_paths.begin(), path);
    if (int(m_paths.size()) > m_size) {
        m_paths.resize(std::size_t(m_size));
    }
    Save();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= int(m_paths.size())) {
        return;
    }
    m_paths.erase(m_paths.begin() + index);
    Save();
}

std::wstring CRecentFileList::GetPath(UINT id) const {
    if (id < m_firstId || id >= m_firstId + m_paths.size()) {
        return {};
    }
    return m_paths[id - m_firstId];
}

void CRecentFileList::Save() const {
    const std::wstring key = m_profileKey + L"\\" + m_section;
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    for (int i = 0; i < m_size; ++i) {
        const std::wstring name = ValueName(i);
        if (i < int(m_paths.size())) {
            const std::wstring& path = m_paths[std::size_t(i)];
            RegSetValueExW(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                           DWORD((path.size() + 1) * sizeof(wchar_t)));
        } else {
            RegDeleteValueW(opened, name.c_str());
        }
    }
    RegCloseKey(opened);
}

void CRecentFileList::UpdateMenu(HMENU menu, const std::wstring& emptyText) const {
    int position = -1;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id >= m_firstId && id < m_firstId + UINT(m_size)) {
            DeleteMenu(menu, UINT(i), MF_BYPOSITION);
            position = i;
        }
    }
    if (position < 0) {
        return;
    }
    if (m_paths.empty()) {
        InsertMenuW(menu, UINT(position), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_firstId, emptyText.c_str());
        return;
    }
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        // An ampersand in a path would underline the letter after it.
        std::wstring shown = m_paths[i];
        for (std::size_t at = shown.find(L'&'); at != std::wstring::npos; at = shown.find(L'&', at + 2)) {
            shown.insert(at, 1, L'&');
        }
        const std::wstring text = L"&" + std::to_wstring(i + 1) + L" " + shown;
        InsertMenuW(menu, UINT(position) + UINT(i), MF_BYPOSITION | MF_STRING, m_firstId + UINT(i), text.c_str());
    }
}
