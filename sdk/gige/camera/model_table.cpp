#include "model_table.h"

#include <algorithm>
#include <array>

namespace kqge {
namespace {

using enum RegisterFamily;

// clang-format off
constexpr std::array<ModelTraits, 16> kModels = {{
    // class                  code        width height bpp colour out bits  H   V  phase family  awb   valid raw   marker
    {"CDefaultCamera",        0,          4096, 4096,  1,  0,     3,  8,    0,  0,  0,   cmos752, false, 8,  false, 0},
    {"CKQGige_CMOSAlvino",    0x10003600, 752,  480,   1,  0,     0,  24,   1,  4,  1,   cmos752, true,  8,  true,  2},
    {"CKQGigECamera",         0x10003601, 752,  480,   1,  1,     1,  24,   1,  4,  0,   cmos752, false, 8,  true,  2},
    {"CKQGige_Parsun",        0x14000,    1360, 1024,  1,  0,     0,  24,   0,  4,  4,   ccd,     true,  8,  false, 0},
    {"CKQGige_Ostrel",        0x14001,    1360, 1024,  1,  1,     1,  24,   0,  4,  0,   ccd,     false, 8,  false, 0},
    {"CKQGige_Lunvik",        0x140B0,    1360, 1024,  2,  3,     0,  24,   0,  4,  4,   ccd,     true,  12, false, 0},
    {"CKQGige_Ragnot",        0x140B1,    1360, 1024,  2,  2,     1,  24,   0,  4,  0,   ccd,     false, 12, false, 0},
    {"CKQGige_Wendik",        0x100B1,    1024, 1024,  1,  1,     1,  24,   0,  4,  0,   ccd,     false, 8,  false, 0},
    {"CKQGige_Ivrose",        0x20100B1,  1024, 1024,  1,  1,     1,  24,   0,  4,  0,   ccd,     false, 8,  false, 0},
    {"CKQGige_Sabrel",        0x20000,    1628, 1236,  1,  0,     0,  24,   0,  4,  3,   ccd,     true,  8,  false, 0},
    {"CKQGige_Dwinel",        0x400B0,    2336, 1752,  1,  0,     0,  24,   0,  4,  4,   ccd,     true,  8,  false, 0},
    {"CKQGige_Hobrin",        0x50000,    2448, 2050,  1,  0,     0,  24,   0,  4,  3,   ccd,     true,  8,  false, 0},
    {"CKQGigE_CMOSNavelo",    0x10030000, 2048, 1536,  1,  0,     0,  24,   32, 20, 4,   cmos,    true,  8,  false, 1},
    {"CKQGigE_CMOSEbrant",    0x10050000, 2592, 1944,  1,  0,     0,  24,   16, 54, 4,   cmos,    true,  8,  false, 1},
    {"CKQGigE_CMOSUlmora",    0x10050001, 2592, 1944,  1,  1,     1,  24,   16, 53, 0,   cmos,    false, 8,  false, 1},
    {"CKQGigE_CMOSJorvel",    0x10013001, 1280, 1024,  2,  2,     1,  24,   20, 12, 0,   cmos,    false, 10, false, 1},
}};
// clang-format on

}  // namespace

std::span<const ModelTraits> ModelTable() { return kModels; }

const ModelTraits& TraitsOf(std::uint32_t modelCode) {
    const auto found = std::ranges::find(kModels, modelCode, &ModelTraits::modelCode);
    return found == kModels.end() ? kModels.front() : *found;
}

}  // namespace kqge
