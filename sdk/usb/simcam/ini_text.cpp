#include "ini_text.h"

#include <fstream>
#include <iterator>

namespace kq::simcam {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

std::u16string FromUtf16Le(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return out;
}

// Characters outside the basic plane become surrogate pairs; overlong forms,
// stray continuation bytes and cut sequences become U+FFFD.
std::u16string FromUtf8(std::span<const std::uint8_t> bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::uint8_t lead = bytes[i];
        int extra = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            code = lead & 0x07;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        int taken = 0;
        while (taken < extra && i + 1 + taken < bytes.size() && (bytes[i + 1 + taken] & 0xC0) == 0x80) {
            code = (code << 6) | (bytes[i + 1 + taken] & 0x3F);
            ++taken;
        }
        i += 1 + taken;
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (taken < extra || code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(kReplacement);
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

std::u16string Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return FromUtf16Le(bytes.subspan(2));
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        return FromUtf8(bytes.subspan(3));
    }
    return FromUtf8(bytes);
}

bool Blank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string Folded(std::u16string_view name) {
    std::u16string out(Trim(name));
    for (auto& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

}  // namespace

IniText IniText::Parse(std::span<const std::uint8_t> bytes) {
    IniText ini;
    const std::u16string text = Decode(bytes);
    std::u16string section;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == u';' || line.front() == u'#') continue;
        if (line.front() == u'[') {
            const std::size_t close = line.find(u']');
            if (close != std::u16string_view::npos) section = Folded(line.substr(1, close - 1));
            continue;
        }
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos) continue;
        const std::u16string key = Folded(line.substr(0, equals));
        if (key.empty()) continue;
        ini.sections_[section].emplace(key, Trim(line.substr(equals + 1)));
    }
    return ini;
}

std::optional<std::u16string> IniText::Value(std::u16string_view section, std::u16string_view key) const {
    const auto s = sections_.find(Folded(section));
    if (s == sections_.end()) return std::nullopt;
    const auto k = s->second.find(Folded(key));
    if (k == s->second.end()) return std::nullopt;
    return k->second;
}

std::optional<std::int32_t> IniNumber(const std::optional<std::u16string>& text, std::int32_t lo, std::int32_t hi) {
    if (!text || text->empty() || text->size() > 9) return std::nullopt;
    std::int32_t value = 0;
    for (char16_t c : *text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

std::optional<std::vector<std::uint8_t>> ReadIniBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    try {
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad()) return std::nullopt;
        return bytes;
    } catch (const std::ios_base::failure&) {
        return std::nullopt;  // a read error inside the file
    }
}

}  // namespace kq::simcam
