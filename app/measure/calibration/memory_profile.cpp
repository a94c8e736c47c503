#include "memory_profile.h"

namespace {

std::u16string Fold(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return out;
}

}  // namespace

std::optional<std::u16string> MemoryProfile::Read(std::u16string_view section, std::u16string_view key) const {
    const auto s = sections_.find(Fold(section));
    if (s == sections_.end()) {
        return std::nullopt;
    }
    const auto k = s->second.find(Fold(key));
    return k == s->second.end() ? std::nullopt : std::optional(k->second);
}

bool MemoryProfile::Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    sections_[Fold(section)][Fold(key)] = std::u16string(value);
    return true;
}

bool MemoryProfile::DeleteKey(std::u16string_view section, std::u16string_view key) {
    const auto s = sections_.find(Fold(section));
    if (s != sections_.end()) {
        s->second.erase(Fold(key));
    }
    return true;
}

bool MemoryProfile::RemoveAll() {
    sections_.clear();
    return true;
}
