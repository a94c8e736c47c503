#pragma once
// Which thumbnail sits in which slot of the browser's bounded thumbnail
// cache, and which slot gives way when another comes: the one used longest
// ago. A slot is used when the list draws its item, so the items in view are
// the last to give way. Keys are the browser's item tickets; 0 is no key.
#include <cstdint>
#include <vector>

class ThumbnailSlots {
public:
    explicit ThumbnailSlots(int capacity) : m_capacity(capacity) {}

    int GetCapacity() const { return m_capacity; }
    // Slots in use or freed, never more than the capacity.
    int GetSlotCount() const { return static_cast<int>(m_slots.size()); }
    // The capacity only grows: a slot in use stays where it is.
    void Reserve(int capacity);

    // The slot holding key, counted as a use; -1 when it holds none.
    int Find(std::uint64_t key);
    // A slot for key, counted as a use: a free one, a new one while below
    // the capacity (numbered GetSlotCount() - 1 afterwards), or the one used
    // longest ago, whose key is forgotten.
    int Take(std::uint64_t key);
    // Frees key's slot, when it has one.
    void Forget(std::uint64_t key);
    void Clear() { m_slots.clear(); }

private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint64_t used = 0;
    };
    int m_capacity;
    std::uint64_t m_clock = 0;
    std::vector<Slot> m_slots;
};
