#pragma once
// Default names of the counter markers, in the program's own (Chinese)
// texts, as the result label keeps its object names.
#include <string_view>

#include "annotations_resource.h"

// The text of a counter-name entry; empty for an unknown id.
std::u16string_view CounterName(int stringId);
