#pragma once
// The crosshair list shared by every camera family. The main thread grows and
// edits it (crosshair dialog, settings); the library's frame thread draws it
// into every frame. Each change publishes a fresh immutable copy, so a frame
// draws one consistent list; the mutex is held only to swap or copy the
// shared pointer, never while drawing or around a library call. The frame
// path allocates nothing.
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "cross_lines.h"

class CrossLineList {
public:
    CrossLineList();

    // Main thread. Appends zeroed entries until the list holds `count`;
    // never shrinks it.
    void Grow(int count);
    // Sets entry i; false when i is not a position in the list.
    bool Set(int i, const CrossLineEntry& entry);
    // A copy of entry i, or none when i is not a position in the list.
    std::optional<CrossLineEntry> Get(int i) const;
    int Count() const;

    // Any thread: draws the list as it stands when the call begins.
    bool DrawInto(const CameraFrame& frame) const;

private:
    using Entries = std::vector<CrossLineEntry>;

    std::shared_ptr<const Entries> Current() const;
    void Publish(std::shared_ptr<const Entries> entries);

    mutable std::mutex m_mutex;
    std::shared_ptr<const Entries> m_entries;
};
