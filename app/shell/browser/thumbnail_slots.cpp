#include "thumbnail_slots.h"

#include <algorithm>

void ThumbnailSlots::Reserve(int capacity) { m_capacity = std::max(m_capacity, capacity); }

int ThumbnailSlots::Find(std::uint64_t key) {
    if (key == 0) {
        return -1;
    }
    for (std::size_t s = 0; s < m_slots.size(); ++s) {
        if (m_slots[s].key == key) {
            m_slots[s].used = ++m_clock;
            return static_cast<int>(s);
        }
    }
    return -1;
}

int ThumbnailSlots::Take(std::uint64_t key) {
    int chosen = Find(key);
    if (chosen < 0) {
        const auto free = std::find_if(m_slots.begin(), m_slots.end(), [](const Slot& slot) { return slot.key == 0; });
        if (free != m_slots.end()) {
            chosen = static_cast<int>(free - m_slots.begin());
        } else if (static_cast<int>(m_slots.size()) < m_capacity) {
            m_slots.emplace_back();
            chosen = static_cast<int>(m_slots.size()) - 1;
        } else if (!m_slots.empty()) {
            const auto oldest = std::min_element(m_slots.begin(), m_slots.end(),
                                                 [](const Slot& a, const Slot& b) { return a.used < b.used; });
            chosen = static_cast<int>(oldest - m_slots.begin());
        } else {
            return -1;
        }
    }
    m_slots[static_cast<std::size_t>(chosen)] = {key, ++m_clock};
    return chosen;
}

void ThumbnailSlots::Forget(std::uint64_t key) {
    for (Slot& slot : m_slots) {
        if (key != 0 && slot.key == key) {
            slot = {};
        }
    }
}
