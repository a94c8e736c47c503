#include "model_codes.h"

#include <algorithm>
#include <cctype>

namespace kqge {
namespace {

struct ModelPattern {
    std::string_view pattern;
    std::uint32_t code;
};

constexpr ModelPattern kPatterns[] = {
    {"Gige-CMOSDorisk", 0x10003601}, {"Gige-CMOSNavelo", 0x10030000}, {"Gige-Sabrel", 0x20000},
    {"Gige-Parsun", 0x14000},        {"Gige-Wendik", 0x100B1},        {"Gige-Dwinel", 0x400B0},
    {"Gige-Ragnot", 0x140B1},        {"Gige-Lunvik", 0x140B0},        {"Gige-Ostrel", 0x14001},
    {"Gige-CMOSAlvino", 0x10003600}, {"Gige-CMOSEbrant", 0x10050000}, {"Gige-CMOSUlmora", 0x10050001},
    {"Gige-CMOSJorvel", 0x10013001}, {"Gige-Hobrin", 0x50000},        {"Gige-Ivrose", 0x20100B1},
};

bool SameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

std::uint32_t ModelCodeFromName(std::string_view modelName) {
    for (const ModelPattern& p : kPatterns) {
        if (std::search(modelName.begin(), modelName.end(), p.pattern.begin(), p.pattern.end(), SameLetter) !=
            modelName.end()) {
            return p.code;
        }
    }
    return 0;
}

}  // namespace kqge
