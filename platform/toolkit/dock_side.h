#pragma once
// The sides of a frame that bars dock on.
#include <cstdint>

enum class DockSide : std::uint8_t { top = 1, bottom = 2, left = 4, right = 8 };

// A set of sides, e.g. kDockAny or DockSides(DockSide::top).
using DockSides = std::uint8_t;
constexpr DockSides kDockAny = 15;
constexpr DockSides DockSidesOf(DockSide side) { return static_cast<DockSides>(side); }
constexpr bool Allows(DockSides sides, DockSide side) { return (sides & static_cast<DockSides>(side)) != 0; }
