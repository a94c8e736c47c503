#include "rollover_name.h"

#include <string>

namespace kq::files {

std::filesystem::path RolloverName(const std::filesystem::path& first, std::int32_t number) {
    if (number <= 0) return first;
    std::filesystem::path name = first.stem();
    name += "(" + std::to_string(number) + ").avi";
    return first.parent_path() / name;
}

}  // namespace kq::files
