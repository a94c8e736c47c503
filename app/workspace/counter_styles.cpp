#include "counter_styles.h"

#include <algorithm>
#include <array>

CounterStyle* CCounterStyles::Find(std::int32_t type, ColourRef colourKey) {
    const auto it = std::find_if(records_.begin(), records_.end(), [&](const CounterStyle& style) {
        return style.kind == type && style.colour == colourKey;
    });
    return it == records_.end() ? nullptr : &*it;
}

void CCounterStyles::Set(ColourRef colourKey, std::int32_t nextNumber, std::int32_t size, std::int32_t type) {
    if (CounterStyle* style = Find(type, colourKey)) {
        style->nextNumber = nextNumber;
        style->size = size;
        return;
    }
    records_.push_back({0, nextNumber, type, colourKey, size});
}

CounterNumbering CCounterStyles::Get(std::int32_t type, ColourRef colourKey) const {
    for (const CounterStyle& style : records_) {
        if (style.kind == type && style.colour == colourKey) {
            return {style.nextNumber, style.size};
        }
    }
    return {};
}

void CCounterStyles::RegisterDefaults(ColourRef colourKey) {
    // Only missing styles: resetting an existing one would hand out numbers
    // its markers already carry.
    for (const std::int32_t type : std::array{CCL_CountCircle::kType, CCL_CountRect::kType, CCL_CountDiamond::kType}) {
        if (Find(type, colourKey) == nullptr) {
            records_.push_back({0, 1, type, colourKey, CCL_Count::kDefaultSize});
        }
    }
}

void CCounterStyles::Number(CCL_Count& counter, ColourRef colourKey) {
    if (!IsCounterType(counter.type)) {
        return;
    }
    if (Find(counter.type, colourKey) == nullptr) {
        RegisterDefaults(colourKey);
    }
    CounterStyle& style = *Find(counter.type, colourKey);
    ++style.count;
    counter.number = style.nextNumber++;
    counter.markerColour = colourKey;
    counter.size = style.size;
}

void CCounterStyles::Unnumber(const CCL_Count& counter, std::span<const std::unique_ptr<CCLObject>> objects) {
    if (!IsCounterType(counter.type)) {
        return;
    }
    if (CounterStyle* style = Find(counter.type, counter.markerColour)) {
        --style->count;
        --style->nextNumber;
    }
    for (const std::unique_ptr<CCLObject>& object : objects) {
        auto* other = dynamic_cast<CCL_Count*>(object.get());
        if (other != nullptr && other->type == counter.type && other->markerColour == counter.markerColour &&
            other->number > counter.number) {
            --other->number;
        }
    }
}
