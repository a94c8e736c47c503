#include "capability_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "fix32.h"

namespace twain {
namespace {

constexpr TW_UINT32 kAll = TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
constexpr TW_UINT32 kRead = TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT;

CapabilityItem Number(double value) {
    CapabilityItem item;
    item.number = value;
    return item;
}

CapabilityItem Text(const char* text) {
    CapabilityItem item;
    item.text = text;
    return item;
}

std::vector<CapabilityItem> Numbers(std::initializer_list<double> values) {
    std::vector<CapabilityItem> items;
    for (double v : values) items.push_back(Number(v));
    return items;
}

CapabilitySlot Slot(TW_UINT16 id, TW_UINT16 type, TW_UINT16 getContainer, TW_UINT32 ops,
                    std::vector<CapabilityItem> items, CapabilityItem value) {
    CapabilitySlot slot;
    slot.id = id;
    slot.itemType = type;
    slot.getContainer = getContainer;
    slot.otherContainer = TWON_ONEVALUE;
    slot.operations = ops;
    slot.items = std::move(items);
    slot.defaultValue = value;
    slot.current = std::move(value);
    return slot;
}

void PutLe(std::span<std::uint8_t> out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLe(std::span<const std::uint8_t> in, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

// Writes one item in its wire form; out holds ItemSize(type) bytes.
void Encode(TW_UINT16 type, const CapabilityItem& item, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    switch (type) {
    case TWTY_FIX32: PutLe(out, Fix32Bits(ToFix32(static_cast<float>(item.number))), 4); break;
    case TWTY_FRAME:
        for (std::size_t i = 0; i < 4; ++i) PutLe(out.subspan(i * 4), Fix32Bits(ToFix32(item.frame[i])), 4);
        break;
    case TWTY_STR32:
    case TWTY_STR64:
    case TWTY_STR128:
    case TWTY_STR255: std::memcpy(out.data(), item.text.data(), std::min(item.text.size(), out.size() - 1)); break;
    default:
        PutLe(out, static_cast<std::uint64_t>(static_cast<std::int64_t>(item.number)),
              CCapabilityTable::ItemSize(type));
        break;
    }
}

CapabilityItem Decode(TW_UINT16 type, std::span<const std::uint8_t> in) {
    CapabilityItem item;
    const auto bits = [&](std::size_t at) { return static_cast<TW_UINT32>(GetLe(in.subspan(at), 4)); };
    switch (type) {
    case TWTY_INT8: item.number = static_cast<std::int8_t>(in[0]); break;
    case TWTY_UINT8: item.number = in[0]; break;
    case TWTY_INT16: item.number = static_cast<std::int16_t>(GetLe(in, 2)); break;
    case TWTY_UINT16:
    case TWTY_BOOL: item.number = static_cast<std::uint16_t>(GetLe(in, 2)); break;
    case TWTY_INT32: item.number = static_cast<std::int32_t>(bits(0)); break;
    case TWTY_UINT32: item.number = bits(0); break;
    case TWTY_FIX32: item.number = FromFix32(Fix32FromBits(bits(0))); break;
    case TWTY_FRAME:
        for (std::size_t i = 0; i < 4; ++i) item.frame[i] = FromFix32(Fix32FromBits(bits(i * 4)));
        break;
    default: {
        const auto* text = reinterpret_cast<const char*>(in.data());
        item.text.assign(text, strnlen(text, in.size()));
        break;
    }
    }
    return item;
}

std::vector<std::uint8_t> Encoded(TW_UINT16 type, const CapabilityItem& item) {
    std::vector<std::uint8_t> bytes(CCapabilityTable::ItemSize(type));
    Encode(type, item, bytes);
    return bytes;
}

bool SameItem(TW_UINT16 type, const CapabilityItem& a, const CapabilityItem& b) {
    return Encoded(type, a) == Encoded(type, b);
}

TW_UINT32 Index(const CapabilitySlot& slot, const CapabilityItem& value) {
    for (std::size_t i = 0; i < slot.items.size(); ++i) {
        if (SameItem(slot.itemType, slot.items[i], value)) return static_cast<TW_UINT32>(i);
    }
    return 0;
}

// A range value in its container's 32-bit field.
TW_UINT32 RangeField(TW_UINT16 type, const CapabilityItem& item) {
    std::array<std::uint8_t, 4> bytes{};
    Encode(type, item, std::span(bytes).first(std::min<std::size_t>(4, CCapabilityTable::ItemSize(type))));
    // Narrow signed types widen with their sign, as a 32-bit field holds them.
    if (type == TWTY_INT8 || type == TWTY_INT16) return static_cast<TW_UINT32>(static_cast<std::int32_t>(item.number));
    return static_cast<TW_UINT32>(GetLe(bytes, 4));
}

}  // namespace

std::size_t CCapabilityTable::ItemSize(TW_UINT16 itemType) {
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8: return 1;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL: return 2;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32: return 4;
    case TWTY_FRAME: return 16;
    case TWTY_STR32:
    case TWTY_STR64:
    case TWTY_STR128:
    case TWTY_STR255: return 34;
    default: return 0;
    }
}

CCapabilityTable::CCapabilityTable() {
    supported_ = {CAP_SUPPORTEDCAPS,
                  ICAP_PIXELFLAVOR,
                  ICAP_XFERMECH,
                  ICAP_PLANARCHUNKY,
                  ICAP_COMPRESSION,
                  ICAP_PHYSICALWIDTH,
                  ICAP_PHYSICALHEIGHT,
                  ICAP_MINIMUMHEIGHT,
                  ICAP_MINIMUMWIDTH,
                  ICAP_UNITS,
                  CAP_DEVICEONLINE,
                  CAP_AUTOFEED,
                  CAP_FEEDERLOADED,
                  ICAP_AUTOBRIGHT,
                  ICAP_BRIGHTNESS,
                  ICAP_CONTRAST,
                  ICAP_HIGHLIGHT,
                  ICAP_ORIENTATION,
                  ICAP_SHADOW,
                  ICAP_BITDEPTH,
                  ICAP_PIXELTYPE,
                  ICAP_BITDEPTHREDUCTION,
                  ICAP_BITORDER,
                  ICAP_HALFTONES,
                  ICAP_THRESHOLD,
                  ICAP_FRAMES,
                  ICAP_MAXFRAMES,
                  ICAP_XNATIVERESOLUTION,
                  ICAP_YNATIVERESOLUTION,
                  CAP_XFERCOUNT,
                  ICAP_IMAGEFILEFORMAT,
                  ICAP_UNDEFINEDIMAGESIZE,
                  CAP_INDICATORS,
                  CAP_UICONTROLLABLE,
                  ICAP_SUPPORTEDSIZES};

    std::vector<CapabilityItem> supportedItems;
    for (TW_UINT16 id : supported_) supportedItems.push_back(Number(id));
    CapabilitySlot caps = Slot(CAP_SUPPORTEDCAPS, TWTY_UINT16, TWON_ARRAY, kRead, supportedItems, {});
    caps.otherContainer = TWON_ARRAY;

    std::vector<CapabilityItem> xferCounts = Numbers({-1});
    for (int n = 1; n <= 25; ++n) xferCounts.push_back(Number(n));
    CapabilityItem frame;
    frame.frame = {0.0f, 0.0f, 11.0f, 11.0f};

    std::size_t n = 0;
    slots_[n++] = std::move(caps);
    slots_[n++] = Slot(ICAP_PIXELFLAVOR, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({TWPF_CHOCOLATE, TWPF_VANILLA}),
                       Number(TWPF_CHOCOLATE));
    slots_[n++] = Slot(ICAP_XFERMECH, TWTY_UINT16, TWON_ENUMERATION, kAll,
                       Numbers({TWSX_NATIVE, TWSX_FILE, TWSX_MEMORY}), Number(TWSX_NATIVE));
    slots_[n++] = Slot(ICAP_PLANARCHUNKY, TWTY_UINT16, TWON_ENUMERATION, kRead, Numbers({TWPC_CHUNKY, TWPC_PLANAR}),
                       Number(TWPC_CHUNKY));
    slots_[n++] = Slot(ICAP_COMPRESSION, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({TWCP_NONE}), Number(TWCP_NONE));
    slots_[n++] = Slot(ICAP_MINIMUMWIDTH, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({1.0}), Number(1.0));
    slots_[n++] = Slot(ICAP_MINIMUMHEIGHT, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({1.0}), Number(1.0));
    slots_[n++] = Slot(ICAP_PHYSICALWIDTH, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({8.5}), Number(8.5));
    slots_[n++] = Slot(ICAP_PHYSICALHEIGHT, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({11.0}), Number(11.0));
    slots_[n++] = Slot(ICAP_UNITS, TWTY_UINT16, TWON_ENUMERATION, kAll,
                       Numbers({TWUN_INCHES, TWUN_CENTIMETERS, TWUN_PIXELS}), Number(TWUN_INCHES));
    slots_[n++] = Slot(CAP_DEVICEONLINE, TWTY_BOOL, TWON_ONEVALUE, kRead, Numbers({1, 0}), Number(1));
    slots_[n++] = Slot(CAP_AUTOFEED, TWTY_BOOL, TWON_ONEVALUE, kRead, Numbers({1, 0}), Number(0));
    slots_[n++] = Slot(CAP_FEEDERLOADED, TWTY_BOOL, TWON_ONEVALUE, kRead, Numbers({0, 1}), Number(0));
    slots_[n++] = Slot(ICAP_AUTOBRIGHT, TWTY_BOOL, TWON_ONEVALUE, kAll, Numbers({1, 0}), Number(0));
    slots_[n++] = Slot(ICAP_BRIGHTNESS, TWTY_FIX32, TWON_RANGE, kAll, Numbers({-1000, 1000, 1000}), Number(0));
    slots_[n++] = Slot(ICAP_CONTRAST, TWTY_FIX32, TWON_RANGE, kAll, Numbers({-1000, 1000, 1000}), Number(0));
    slots_[n++] = Slot(ICAP_HIGHLIGHT, TWTY_FIX32, TWON_RANGE, kAll, Numbers({0, 255, 1}), Number(128));
    slots_[n++] = Slot(ICAP_ORIENTATION, TWTY_UINT16, TWON_ENUMERATION, kAll,
                       Numbers({TWOR_ROT0, TWOR_ROT90, TWOR_ROT180, TWOR_ROT270}), Number(TWOR_ROT0));
    slots_[n++] = Slot(ICAP_SHADOW, TWTY_FIX32, TWON_RANGE, kAll, Numbers({0, 255, 1}), Number(128));
    slots_[n++] = Slot(kBitDepthSlotId, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({8, 24}), Number(24));
    slots_[n++] =
        Slot(ICAP_PIXELTYPE, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({TWPT_GRAY, TWPT_RGB}), Number(TWPT_RGB));
    slots_[n++] = Slot(ICAP_BITDEPTHREDUCTION, TWTY_UINT16, TWON_ENUMERATION, kAll,
                       Numbers({TWBR_THRESHOLD, TWBR_HALFTONE, TWBR_DIFFUSION}), Number(TWBR_THRESHOLD));
    slots_[n++] = Slot(ICAP_BITORDER, TWTY_UINT16, TWON_ENUMERATION, kRead, Numbers({TWBO_MSBFIRST, TWBO_LSBFIRST}),
                       Number(TWBO_MSBFIRST));
    slots_[n++] = Slot(ICAP_THRESHOLD, TWTY_FIX32, TWON_RANGE, kAll, Numbers({0, 255, 1}), Number(128));
    slots_[n++] = Slot(ICAP_HALFTONES, TWTY_STR32, TWON_ENUMERATION, kAll, {Text("FLOYD/STEINBURG"), Text("BORDERED")},
                       Text("FLOYD/STEINBURG"));
    slots_[n++] = Slot(ICAP_FRAMES, TWTY_FRAME, TWON_ONEVALUE, kAll, {frame}, frame);
    slots_[n++] = Slot(ICAP_MAXFRAMES, TWTY_UINT16, TWON_ONEVALUE, kRead, Numbers({1}), Number(1));
    slots_[n++] = Slot(ICAP_XNATIVERESOLUTION, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({100.0}), Number(100.0));
    slots_[n++] = Slot(ICAP_YNATIVERESOLUTION, TWTY_FIX32, TWON_ONEVALUE, kRead, Numbers({100.0}), Number(100.0));
    slots_[n++] = Slot(CAP_XFERCOUNT, TWTY_INT16, TWON_ONEVALUE, kAll, xferCounts, Number(-1));
    // Transfers write BMP files only.
    slots_[n++] =
        Slot(ICAP_IMAGEFILEFORMAT, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({TWFF_BMP}), Number(TWFF_BMP));
    slots_[n++] = Slot(ICAP_UNDEFINEDIMAGESIZE, TWTY_BOOL, TWON_ONEVALUE, kAll, Numbers({0, 1}), Number(0));
    slots_[n++] = Slot(CAP_INDICATORS, TWTY_BOOL, TWON_ONEVALUE, kAll, Numbers({1, 0}), Number(1));
    slots_[n++] = Slot(CAP_UICONTROLLABLE, TWTY_BOOL, TWON_ONEVALUE, kRead, Numbers({1, 0}), Number(1));
    slots_[n++] =
        Slot(ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWON_ENUMERATION, kAll, Numbers({TWSS_USLETTER}), Number(TWSS_USLETTER));
}

void CCapabilityTable::SetDeviceOutputBits(int bits) {
    const bool grey = bits == 8;
    for (CapabilitySlot* slot : {FindSlot(kBitDepthSlotId), FindSlot(ICAP_PIXELTYPE)}) {
        const double value = slot->id == kBitDepthSlotId ? (grey ? 8 : 24) : (grey ? TWPT_GRAY : TWPT_RGB);
        slot->current = Number(value);
        slot->defaultValue = Number(value);
    }
}

CapabilitySlot* CCapabilityTable::FindSlot(TW_UINT16 id) {
    const TW_UINT16 key = id == ICAP_BITDEPTH ? kBitDepthSlotId : id;
    if (key == 0) return nullptr;
    for (CapabilitySlot& slot : slots_) {
        if (slot.id == key) return &slot;
    }
    return nullptr;
}

const CapabilitySlot* CCapabilityTable::Find(TW_UINT16 id) const {
    return const_cast<CCapabilityTable*>(this)->FindSlot(id);
}

CapabilityAnswer CCapabilityTable::OnCapability(TW_UINT16 msg, TW_CAPABILITY& capability, HandleMemory& memory,
                                                const CapabilityContext& context) {
    CapabilityAnswer answer;
    CapabilitySlot* slot = FindSlot(capability.Cap);
    TW_UINT32 needed = 0;
    switch (msg) {
    case MSG_GET: needed = TWQC_GET; break;
    case MSG_SET: needed = TWQC_SET; break;
    case MSG_GETDEFAULT: needed = TWQC_GETDEFAULT; break;
    case MSG_GETCURRENT: needed = TWQC_GETCURRENT; break;
    case MSG_RESET: needed = TWQC_RESET; break;
    case MSG_QUERYSUPPORT: break;
    default: return {TWRC_FAILURE, TWCC_BADPROTOCOL};
    }
    if (slot == nullptr) {
        answer = {TWRC_FAILURE, TWCC_CAPUNSUPPORTED};
    } else if (msg == MSG_QUERYSUPPORT) {
        CapabilitySlot support = Slot(capability.Cap, TWTY_UINT32, TWON_ONEVALUE, 0, {}, Number(slot->operations));
        answer = GetOne(support, support.current, capability, memory);
    } else if ((slot->operations & needed) == 0) {
        answer = {TWRC_FAILURE, TWCC_CAPBADOPERATION};
    } else {
        switch (msg) {
        case MSG_GET:
            if (slot->id == CAP_FEEDERLOADED) slot->current = Number(context.transfersPending ? 1 : 0);
            answer = Get(*slot, capability, memory);
            break;
        case MSG_GETCURRENT: answer = GetOne(*slot, slot->current, capability, memory); break;
        case MSG_GETDEFAULT: answer = GetOne(*slot, slot->defaultValue, capability, memory); break;
        case MSG_SET: answer = Set(*slot, capability, memory); break;
        default:
            slot->current = slot->defaultValue;
            answer = GetOne(*slot, slot->defaultValue, capability, memory);
            break;
        }
    }
    const bool older = context.appProtocolMajor < 2 && context.appProtocolMinor <= 5;
    if (answer.returnCode == TWRC_FAILURE && answer.condition > TWCC_BADDEST && older) answer.condition = TWCC_BADCAP;
    return answer;
}

CapabilityAnswer CCapabilityTable::Get(const CapabilitySlot& slot, TW_CAPABILITY& capability,
                                       HandleMemory& memory) const {
    if (slot.getContainer == TWON_ONEVALUE) return GetOne(slot, slot.current, capability, memory);
    const std::size_t itemSize = ItemSize(slot.itemType);
    std::size_t size = 0;
    switch (slot.getContainer) {
    case TWON_RANGE: size = sizeof(TW_RANGE); break;
    case TWON_ENUMERATION: size = offsetof(TW_ENUMERATION, ItemList) + itemSize * slot.items.size(); break;
    default: size = offsetof(TW_ARRAY, ItemList) + itemSize * slot.items.size(); break;
    }
    TW_HANDLE handle = memory.Allocate(size);
    LockedHandle lock(memory, handle);
    if (lock.Bytes().size() < size) {
        if (handle != nullptr) memory.Free(handle);
        return {TWRC_FAILURE, TWCC_LOWMEMORY};
    }
    std::uint8_t* base = lock.Bytes().data();
    const auto putItems = [&](std::size_t at) {
        for (std::size_t i = 0; i < slot.items.size(); ++i) {
            Encode(slot.itemType, slot.items[i], std::span(base + at + i * itemSize, itemSize));
        }
    };
    if (slot.getContainer == TWON_RANGE) {
        TW_RANGE range{};
        range.ItemType = slot.itemType;
        range.MinValue = RangeField(slot.itemType, slot.items[0]);
        range.MaxValue = RangeField(slot.itemType, slot.items[1]);
        range.StepSize = RangeField(slot.itemType, slot.items[2]);
        range.DefaultValue = RangeField(slot.itemType, slot.defaultValue);
        range.CurrentValue = RangeField(slot.itemType, slot.current);
        std::memcpy(base, &range, sizeof range);
    } else if (slot.getContainer == TWON_ENUMERATION) {
        TW_ENUMERATION head{};
        head.ItemType = slot.itemType;
        head.NumItems = static_cast<TW_UINT32>(slot.items.size());
        head.CurrentIndex = Index(slot, slot.current);
        head.DefaultIndex = Index(slot, slot.defaultValue);
        std::memcpy(base, &head, offsetof(TW_ENUMERATION, ItemList));
        putItems(offsetof(TW_ENUMERATION, ItemList));
    } else {
        TW_ARRAY head{};
        head.ItemType = slot.itemType;
        head.NumItems = static_cast<TW_UINT32>(slot.items.size());
        std::memcpy(base, &head, offsetof(TW_ARRAY, ItemList));
        putItems(offsetof(TW_ARRAY, ItemList));
    }
    capability.ConType = slot.getContainer;
    capability.hContainer = handle;
    return {};
}

CapabilityAnswer CCapabilityTable::GetOne(const CapabilitySlot& slot, const CapabilityItem& value,
                                          TW_CAPABILITY& capability, HandleMemory& memory) const {
    if (slot.otherContainer == TWON_ARRAY) {
        // CAP_SUPPORTEDCAPS has no single value: its current one is the list.
        CapabilitySlot whole = slot;
        whole.getContainer = TWON_ARRAY;
        return Get(whole, capability, memory);
    }
    const std::size_t itemSize = ItemSize(slot.itemType);
    const std::size_t size = std::max(sizeof(TW_ONEVALUE), offsetof(TW_ONEVALUE, Item) + itemSize);
    TW_HANDLE handle = memory.Allocate(size);
    LockedHandle lock(memory, handle);
    if (lock.Bytes().size() < size) {
        if (handle != nullptr) memory.Free(handle);
        return {TWRC_FAILURE, TWCC_LOWMEMORY};
    }
    std::uint8_t* base = lock.Bytes().data();
    std::memcpy(base, &slot.itemType, sizeof slot.itemType);
    Encode(slot.itemType, value, std::span(base + offsetof(TW_ONEVALUE, Item), itemSize));
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = handle;
    return {};
}

CapabilityAnswer CCapabilityTable::Set(CapabilitySlot& slot, const TW_CAPABILITY& capability,
                                       HandleMemory& memory) const {
    const std::size_t itemSize = ItemSize(slot.itemType);
    if (capability.ConType != slot.otherContainer || capability.hContainer == nullptr) {
        return {TWRC_FAILURE, TWCC_BADVALUE};
    }
    LockedHandle lock(memory, capability.hContainer);
    const std::span<const std::uint8_t> bytes = lock.Bytes();
    if (bytes.size() < offsetof(TW_ONEVALUE, Item) + itemSize) return {TWRC_FAILURE, TWCC_BADVALUE};
    TW_UINT16 type = 0;
    std::memcpy(&type, bytes.data(), sizeof type);
    if (type != slot.itemType) return {TWRC_FAILURE, TWCC_BADVALUE};
    const CapabilityItem value = Decode(type, bytes.subspan(offsetof(TW_ONEVALUE, Item), itemSize));
    if (!Accepts(slot, value)) return {TWRC_FAILURE, TWCC_BADVALUE};
    slot.current = value;
    if (slot.itemType == TWTY_FIX32) {
        // Keep the value as its fixed-point form reads back.
        slot.current.number = FromFix32(ToFix32(static_cast<float>(value.number)));
    }
    return {};
}

bool CCapabilityTable::Accepts(const CapabilitySlot& slot, const CapabilityItem& value) const {
    if (slot.id == kBitDepthSlotId || slot.id == ICAP_PIXELTYPE) {
        // The settings dialog chooses the output; only what is sent is true.
        return SameItem(slot.itemType, slot.current, value);
    }
    if (slot.getContainer == TWON_RANGE) {
        const double min = slot.items[0].number;
        const double max = slot.items[1].number;
        const double step = slot.items[2].number;
        const double v = value.number;
        if (!std::isfinite(v) || v < min || v > max || step <= 0) return false;
        const double k = std::round((v - min) / step);
        return SameItem(slot.itemType, Number(min + k * step), value);
    }
    return std::any_of(slot.items.begin(), slot.items.end(),
                       [&](const CapabilityItem& item) { return SameItem(slot.itemType, item, value); });
}

}  // namespace twain
