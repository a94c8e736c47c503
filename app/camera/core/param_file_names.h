#pragma once
// Where a camera family's parameter file of a given name lies: the file
// "<name>.ini" in the family's folder of "Params" in the program folder. A
// name is a plain file stem: one with a path separator, "..", a drive
// colon, a character no file name may hold, or no character at all names
// no parameter file. Platform-free.
#include <optional>
#include <string>
#include <string_view>

bool IsParamFileName(std::wstring_view name);

// programFolder with or without a trailing backslash; none for a name
// IsParamFileName refuses.
std::optional<std::wstring> ParamFilePath(const std::wstring& programFolder, std::wstring_view familyFolder,
                                          std::wstring_view name);
