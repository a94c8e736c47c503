#pragma once
// `CCapabilityTable`: the data source's fixed table of 35 capabilities and
// the DAT_CAPABILITY operations on it. Containers travel in memory handles
// created through the HandleMemory seam; the application owns what MSG_GET
// and its kin return.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "handle_memory.h"
#include "twain_protocol.h"

namespace twain {

// ICAP_BITDEPTH is kept under this private id.
inline constexpr TW_UINT16 kBitDepthSlotId = 0x9002;
inline constexpr std::size_t kSupportedCapabilityCount = 35;

// One value of any item type: numbers (FIX32 as its float), a frame, or a
// string.
struct CapabilityItem {
    double number = 0;
    std::array<float, 4> frame{};
    std::string text;
};

struct CapabilitySlot {
    TW_UINT16 id = 0;
    TW_UINT16 itemType = 0;
    TW_UINT16 getContainer = 0;
    TW_UINT16 otherContainer = 0;
    TW_UINT32 operations = 0;
    std::vector<CapabilityItem> items;  // a range: minimum, maximum, step
    CapabilityItem defaultValue;
    CapabilityItem current;
};

struct CapabilityAnswer {
    TW_UINT16 returnCode = TWRC_SUCCESS;
    TW_UINT16 condition = TWCC_SUCCESS;
};

// What the answer depends on besides the table.
struct CapabilityContext {
    TW_UINT16 appProtocolMajor = 1;
    TW_UINT16 appProtocolMinor = 8;
    bool transfersPending = false;
};

class CCapabilityTable {
public:
    CCapabilityTable();

    CapabilityAnswer OnCapability(TW_UINT16 msg, TW_CAPABILITY& capability, HandleMemory& memory,
                                  const CapabilityContext& context);

    // ICAP_BITDEPTH and ICAP_PIXELTYPE describe what transfers send: the
    // device's output, 8-bit grey or 24-bit RGB.
    void SetDeviceOutputBits(int bits);

    std::span<const TW_UINT16> SupportedIds() const { return supported_; }
    const CapabilitySlot* Find(TW_UINT16 id) const;

    // Bytes of one item of the type; 0 for an unknown type.
    static std::size_t ItemSize(TW_UINT16 itemType);

private:
    CapabilitySlot* FindSlot(TW_UINT16 id);
    CapabilityAnswer Get(const CapabilitySlot& slot, TW_CAPABILITY& capability, HandleMemory& memory) const;
    CapabilityAnswer GetOne(const CapabilitySlot& slot, const CapabilityItem& value, TW_CAPABILITY& capability,
                            HandleMemory& memory) const;
    CapabilityAnswer Set(CapabilitySlot& slot, const TW_CAPABILITY& capability, HandleMemory& memory) const;
    bool Accepts(const CapabilitySlot& slot, const CapabilityItem& value) const;

    std::vector<TW_UINT16> supported_;
    std::array<CapabilitySlot, 38> slots_{};
};

}  // namespace twain
