#pragma once
// Drives a figure's Track the way the controller does, without a device:
// clicks and moves at zoomed-picture positions.
#include <initializer_list>
#include <utility>

#include "cl_object.h"

struct Tracker {
    CCLObject& figure;
    float zoom = 1.0f;
    int step = 0;

    bool Click(int x, int y) { return figure.Track(nullptr, x, y, step, false, zoom, 0, 0); }
    bool MoveTo(int x, int y) { return figure.Track(nullptr, x, y, step, true, zoom, 0, 0); }
    // Clicks each point in turn; true when the last click completed.
    bool Clicks(std::initializer_list<std::pair<int, int>> points) {
        bool complete = false;
        for (const auto& [x, y] : points) {
            complete = Click(x, y);
        }
        return complete;
    }
};
