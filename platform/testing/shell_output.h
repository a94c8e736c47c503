#pragma once
// What a Unix command prints, for native tests that read their files back
// with outside tools (ImageMagick, tiffinfo). Trailing blanks and newlines
// are cut; a command that cannot start prints nothing.
#include <cstdio>
#include <string>

namespace testing_support {

inline std::string ShellOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

}  // namespace testing_support
