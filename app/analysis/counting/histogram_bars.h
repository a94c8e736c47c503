#pragma once
// The manual count dialog's histogram panel: bar heights scaled to the
// panel by the largest count, and the share of the picture a grey window
// covers. Platform-free.
#include <array>
#include <cstdint>

using LevelCounts = std::array<int, 256>;

// Height of a bar of `count` in a panel `panelHeight` high: panelHeight x
// count / largest, so the largest bar fills the panel; 0 when largest is 0.
int BarHeight(int count, int largest, int panelHeight);

// Percentage of a width x height picture whose levels lie in low..high.
double WindowShare(const LevelCounts& counts, int low, int high, int width, int height);
