#pragma once
// The choice of a stored calibration by the calibration combo: its entries,
// and which entry a picture's value and unit or a name select. Combo item 0
// is "Default"; item k (from 1) is always section k of scale.ini, because
// the ruler and the counting grid read the section by the combo's index.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calibration_store.h"

// One entry per section 1 to Count (Count capped by the store); a missing
// section keeps its place as an entry with an empty name, value 1 and the
// default unit, so that no later calibration moves up into its item.
std::vector<Calibration> ListCalibrationItems(const CalibrationStore& store);

// The combo index (entry position + 1) of the entry with this unit (letter
// case ignored) whose value is closest to `value`, within a tolerance that
// scales with the value: 1 % of it, at most 0.001. 0 ("Default") when none
// is that close. A fixed 0.001 would let 0.00025 mm stand for 0.0005 mm.
int MatchCalibrationByValue(std::span<const Calibration> entries, float value, std::u16string_view unit);

// The combo index of the first entry with this name, letter case ignored;
// 0 ("Default") when there is none.
int MatchCalibrationByName(std::span<const Calibration> entries, std::u16string_view name);

// The unit "Default" carries: the stored [CLdraw] Unit, or "mm" when it is
// missing, empty or the "NULL" of a missing key.
std::u16string DefaultChoiceUnit(const std::optional<std::u16string>& stored);

// Lower case for comparisons: ASCII, Latin-1 and Greek capitals.
std::u16string LowerForCompare(std::u16string_view text);
