#pragma once
// One entry of a camera model's constant resolution table: the label the
// resolution combo shows ("2048 * 1536") and the size it names.
struct LabelledSize {
    const wchar_t* label;
    int width;
    int height;
};

// The lowest and highest exposure of a model in time units.
struct ExposureRange {
    int lowest;
    int highest;

    friend bool operator==(const ExposureRange&, const ExposureRange&) = default;
};
