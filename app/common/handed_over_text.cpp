#include "handed_over_text.h"

#include <map>
#include <memory>
#include <mutex>

namespace {
std::mutex& HandedOverMutex() {
    static std::mutex mutex;
    return mutex;
}
std::map<std::uintptr_t, std::unique_ptr<std::wstring>>& HandedOver() {
    static std::map<std::uintptr_t, std::unique_ptr<std::wstring>> texts;
    return texts;
}
}  // namespace

std::uintptr_t HandOverText(std::wstring text) {
    auto copy = std::make_unique<std::wstring>(std::move(text));
    const auto address = reinterpret_cast<std::uintptr_t>(copy.get());
    const std::lock_guard lock(HandedOverMutex());
    HandedOver().emplace(address, std::move(copy));
    return address;
}

std::optional<std::wstring> TakeHandedOverText(std::uintptr_t address) {
    const std::lock_guard lock(HandedOverMutex());
    const auto found = HandedOver().find(address);
    if (found == HandedOver().end()) {
        return std::nullopt;
    }
    std::wstring text = std::move(*found->second);
    HandedOver().erase(found);
    return text;
}
