#pragma once
// The order of the browser lists: newest last-write time first, files of
// equal time in enumeration order. Each file's time is taken once, when the
// folder is enumerated, so sorting never looks a file up again.
#include <cstdint>
#include <string>
#include <vector>

struct DatedFile {
    std::wstring path;
    std::int64_t lastWrite = 0;  // any monotonic file-time unit
};

std::vector<std::wstring> NewestFirst(std::vector<DatedFile> files);
