#include "newest_first.h"

#include <algorithm>

std::vector<std::wstring> NewestFirst(std::vector<DatedFile> files) {
    std::stable_sort(files.begin(), files.end(),
                     [](const DatedFile& a, const DatedFile& b) { return a.lastWrite > b.lastWrite; });
    std::vector<std::wstring> paths;
    paths.reserve(files.size());
    for (DatedFile& file : files) paths.push_back(std::move(file.path));
    return paths;
}
