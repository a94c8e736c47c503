#pragma once
// The extension property sets a camera may answer, in probing order.

#include "ks_property.h"

#include <span>

struct KsCandidateSet {
    GUID set;
    KSP_DEVICE_TYPE type;
};

std::span<const KsCandidateSet> CandidatePropertySets();
bool SameGuid(const GUID& a, const GUID& b);
bool IsNullGuid(const GUID& guid);
