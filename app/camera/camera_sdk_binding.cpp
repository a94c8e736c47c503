#include "camera_sdk_binding.h"

CCameraSdkBinding::CCameraSdkBinding(HMODULE& familyModule, std::span<const CameraSdkExport> exports,
                                     const std::wstring& path)
    : m_familyModule(familyModule), m_exports(exports) {
    if (Load(path)) {
        BindExports();
    }
}

CCameraSdkBinding::~CCameraSdkBinding() {
    if (!m_ownsModule) {
        return;
    }
    for (const CameraSdkExport& entry : m_exports) {
        entry.store(nullptr);
    }
    FreeLibrary(m_familyModule);
    m_familyModule = nullptr;
    m_ownsModule = false;
}

int CCameraSdkBinding::Load(const std::wstring& path) {
    if (m_familyModule) {
        return 0;
    }
    // The library's own dependencies are looked for beside it first.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        return 0;
    }
    m_familyModule = module;
    m_ownsModule = true;
    return 1;
}

int CCameraSdkBinding::BindExports() {
    if (!m_familyModule) {
        return 0;
    }
    for (const CameraSdkExport& entry : m_exports) {
        if (FARPROC address = GetProcAddress(m_familyModule, entry.name)) {
            entry.store(address);
        }
    }
    return 1;
}

int CCameraSdkBinding::IsLoaded() const { return m_familyModule ? 1 : 0; }
