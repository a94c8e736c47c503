#include "unique_temp_file.h"

#include <cstdio>
#include <random>
#include <system_error>

CUniqueTempFile::CUniqueTempFile(const std::filesystem::path& folder, const std::string& stem,
                                 const std::string& extension) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return;
    }
    static thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 64; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        std::filesystem::path candidate = folder / (stem + "_" + suffix + extension);
        if (!std::filesystem::exists(candidate, ec) && !ec) {
            path_ = std::move(candidate);
            return;
        }
    }
}

CUniqueTempFile::~CUniqueTempFile() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}
