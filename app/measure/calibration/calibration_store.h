#pragma once
// The calibrations of scale.ini: [Scale] Count and one [scl_N] section per
// calibration (Name, Value, Rank, Unit, Reso, GridW, GridH, GColor), N from 1
// to Count, each with the measuring ruler's tick spacing (RulerScale). The
// built-in "Default" calibration (value 1) is never stored; its ruler
// spacing lives in [scl_0].
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "profile_text.h"

struct Calibration {
    int section = 0;  // N of [scl_N]
    std::u16string name;
    float value = 1.0f;         // units per pixel
    std::u16string unit;        // one of the six units
    std::u16string resolution;  // "%d * %d" of the picture it was made on
};

// The counting-grid settings kept with a calibration, and its value, which
// turns the cell size from the calibration's unit into picture pixels.
struct CountingGridSettings {
    float width = 10.0f;              // GridW
    float height = 10.0f;             // GridH
    std::uint32_t colour = 0xFFFFFF;  // GColor, 0x00BBGGRR
    float value = 1.0f;               // Value, units per pixel
};

class CalibrationStore {
public:
    // Count is read from a file anyone can edit: more sections than this
    // are never read.
    static constexpr int kMaxCount = 1000;

    explicit CalibrationStore(ProfileText& file) : file_(file) {}

    // [Scale] Count, clamped to 0..kMaxCount.
    int Count() const;
    // The stored calibrations in section order; sections that are missing
    // are skipped.
    std::vector<Calibration> List() const;
    // The section of the first calibration with exactly this name.
    std::optional<int> Find(std::u16string_view name) const;
    // One section as stored, with missing keys replaced by their defaults.
    std::optional<Calibration> Read(int section) const;
    // The grid settings of [scl_N] for any N (section 0 holds those of
    // "Default"). A missing key, a 0, or text that is no finite number gives
    // the default; negative sizes stay as stored.
    CountingGridSettings ReadGrid(int section) const;

    // The measuring ruler's tick spacing of [scl_N] in calibrated units (N 0
    // for "Default"): a missing key, text that is no number, or a spacing
    // below 1 gives the default 10.
    int ReadRulerScale(int section) const;
    void WriteRulerScale(int section, int spacing);
    static constexpr int kDefaultRulerScale = 10;

    // Writes a calibration: over the section of the same name when there is
    // one (its grid settings are reset), else as a new last section.
    // Returns the section number.
    int Save(std::u16string_view name, float value, std::u16string_view unit, int width, int height);

    // Deletes section N and moves the ones after it down by one, every key
    // with it.
    // False when N is not a stored section.
    bool Delete(int section);
    void DeleteAll();

    // Value text: "%f" when that reads back as the same float, otherwise
    // enough significant digits for an exact read-back (small scales).
    static std::u16string FormatValue(float value);
    // Reads any decimal text written by this or older versions; "NULL" or
    // text that is no number gives the default 1.
    static float ParseValue(std::u16string_view text);

private:
    std::u16string ReadText(std::u16string_view section, std::u16string_view key) const;

    ProfileText& file_;
};

// "scl_N"
std::u16string CalibrationSection(int n);
