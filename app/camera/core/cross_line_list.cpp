#include "cross_line_list.h"

#include <cstddef>
#include <utility>

CrossLineList::CrossLineList() : m_entries(std::make_shared<const Entries>()) {}

std::shared_ptr<const CrossLineList::Entries> CrossLineList::Current() const {
    const std::lock_guard lock(m_mutex);
    return m_entries;
}

void CrossLineList::Publish(std::shared_ptr<const Entries> entries) {
    std::shared_ptr<const Entries> replaced;
    {
        const std::lock_guard lock(m_mutex);
        replaced = std::exchange(m_entries, std::move(entries));
    }
    // `replaced` is freed here, outside the lock, unless a frame still holds it.
}

void CrossLineList::Grow(int count) {
    const std::shared_ptr<const Entries> current = Current();
    if (count <= static_cast<int>(current->size())) {
        return;
    }
    auto grown = std::make_shared<Entries>(*current);
    grown->resize(static_cast<std::size_t>(count));
    Publish(std::move(grown));
}

bool CrossLineList::Set(int i, const CrossLineEntry& entry) {
    const std::shared_ptr<const Entries> current = Current();
    if (i < 0 || i >= static_cast<int>(current->size())) {
        return false;
    }
    auto changed = std::make_shared<Entries>(*current);
    (*changed)[static_cast<std::size_t>(i)] = entry;
    Publish(std::move(changed));
    return true;
}

std::optional<CrossLineEntry> CrossLineList::Get(int i) const {
    const std::shared_ptr<const Entries> current = Current();
    if (i < 0 || i >= static_cast<int>(current->size())) {
        return std::nullopt;
    }
    return (*current)[static_cast<std::size_t>(i)];
}

int CrossLineList::Count() const { return static_cast<int>(Current()->size()); }

bool CrossLineList::DrawInto(const CameraFrame& frame) const { return DrawCrossLines(frame, *Current()); }
