#pragma once
// The folder of the running program's executable: the correction tables of
// every camera type are kept there, beside the program that uses them.

#include <filesystem>

namespace kq {

std::filesystem::path HostProgramFolder();

}  // namespace kq
