#pragma once
// What the camera device tree keeps besides its items: one list of devices
// per camera family (categories 1 DirectShow, 2 USB CMOS, 3 CCD, 4 GigE,
// 5 UVC), each device's item text, and the device the open camera shows.
// Refilling starts every list afresh, so an item's position always names
// the entry of the list it belongs to. Platform-free.
#include <array>
#include <optional>
#include <string>
#include <vector>

struct DeviceTreeEntry {
    std::wstring name;
    int value = 0;  // the number the view gave with the name

    friend bool operator==(const DeviceTreeEntry&, const DeviceTreeEntry&) = default;
};

struct DeviceTreeSelection {
    int category = 0;  // 0 none
    int index = -1;    // within the category's list; -1 none

    friend bool operator==(const DeviceTreeSelection&, const DeviceTreeSelection&) = default;
};

inline constexpr int kDeviceTreeCategories = 5;

class DeviceTreeLists {
public:
    static bool IsCategory(int category) { return category >= 1 && category <= kDeviceTreeCategories; }

    // Appends to the category's list; the item text "<n>. <name>" with n the
    // list's new size. None for a category outside 1 to 5.
    std::optional<std::wstring> Add(int category, DeviceTreeEntry entry);
    // Empties every list and forgets the selection.
    void Clear();
    bool IsEmpty(int category) const;
    // The first category with devices, with index 0; none when all are empty.
    std::optional<DeviceTreeSelection> First() const;
    // The entry at a selection; none when it names no entry.
    std::optional<DeviceTreeEntry> At(const DeviceTreeSelection& selection) const;

    DeviceTreeSelection Selected() const { return m_selected; }
    void Select(const DeviceTreeSelection& selection) { m_selected = selection; }

private:
    std::array<std::vector<DeviceTreeEntry>, kDeviceTreeCategories> m_lists;
    DeviceTreeSelection m_selected;
};
