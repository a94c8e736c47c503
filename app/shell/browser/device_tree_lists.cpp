#include "device_tree_lists.h"

std::optional<std::wstring> DeviceTreeLists::Add(int category, DeviceTreeEntry entry) {
    if (!IsCategory(category)) {
        return std::nullopt;
    }
    std::vector<DeviceTreeEntry>& list = m_lists[std::size_t(category - 1)];
    std::wstring text = std::to_wstring(list.size() + 1) + L". " + entry.name;
    list.push_back(std::move(entry));
    return text;
}

void DeviceTreeLists::Clear() {
    for (auto& list : m_lists) {
        list.clear();
    }
    m_selected = {};
}

bool DeviceTreeLists::IsEmpty(int category) const {
    return !IsCategory(category) || m_lists[std::size_t(category - 1)].empty();
}

std::optional<DeviceTreeSelection> DeviceTreeLists::First() const {
    for (int category = 1; category <= kDeviceTreeCategories; ++category) {
        if (!IsEmpty(category)) {
            return DeviceTreeSelection{category, 0};
        }
    }
    return std::nullopt;
}

std::optional<DeviceTreeEntry> DeviceTreeLists::At(const DeviceTreeSelection& selection) const {
    if (IsEmpty(selection.category) || selection.index < 0) {
        return std::nullopt;
    }
    const auto& list = m_lists[std::size_t(selection.category - 1)];
    if (std::size_t(selection.index) >= list.size()) {
        return std::nullopt;
    }
    return list[std::size_t(selection.index)];
}
