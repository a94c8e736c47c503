#pragma once
// A folder under the temporary directory that no other test process uses:
// test runs of several build trees may share one machine.
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#define VIZCAM_TEST_PID _getpid()
#else
#include <unistd.h>
#define VIZCAM_TEST_PID getpid()
#endif

namespace testing_support {

inline std::filesystem::path UniqueTempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / (name + "_" + std::to_string(VIZCAM_TEST_PID));
}

}  // namespace testing_support
