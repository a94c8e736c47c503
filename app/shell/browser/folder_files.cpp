#include "folder_files.h"

#include <windows.h>

std::vector<DatedFile> ListFolderFiles(const std::wstring& folder, bool (*keep)(std::wstring_view name)) {
    std::vector<DatedFile> files;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!keep(found.cFileName)) continue;
        const std::int64_t time = (static_cast<std::int64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                  found.ftLastWriteTime.dwLowDateTime;
        files.push_back({folder + found.cFileName, time});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}
