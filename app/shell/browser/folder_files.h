#pragma once
// The files of one folder with their last-write times, read once.
#include <string>
#include <vector>

#include "newest_first.h"

// Every file (no "." or "..", no folders) of the folder, which ends in a
// backslash, with its full path; keep decides by file name.
std::vector<DatedFile> ListFolderFiles(const std::wstring& folder, bool (*keep)(std::wstring_view name));
