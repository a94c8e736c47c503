#pragma once
// Folders of the running program and of the modules loaded into it: the
// correction tables of every camera type are kept beside the program that
// uses them, a library's own settings beside the library.

#include <filesystem>

namespace kq {

std::filesystem::path HostProgramFolder();

// The folder of the executable or library whose code or data holds
// `address`; empty when no module holds it.
std::filesystem::path FolderOfModuleContaining(const void* address);

}  // namespace kq
