#pragma once
// Making a colour reference (0x00BBGGRR) from its three bytes. The program's
// measurement geometry defines the same function with the same tokens; a file
// includes one of the two.
#include <cstdint>

using ColourRef = std::uint32_t;

constexpr ColourRef MakeColourRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColourRef{red} | (ColourRef{green} << 8) | (ColourRef{blue} << 16);
}
