#include "calibration_store.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "units.h"

namespace {

constexpr std::u16string_view kScale = u"Scale";
constexpr std::u16string_view kCount = u"Count";
constexpr std::u16string_view kKeys[] = {u"Name",  u"Value", u"Rank",   u"Unit",      u"Reso",
                                         u"GridW", u"GridH", u"GColor", u"RulerScale"};

std::u16string Ascii(const char* text) {
    std::u16string out;
    for (; *text; ++text) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    }
    return out;
}

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

std::u16string Decimal(long long v) { return Ascii(std::to_string(v).c_str()); }

int ParseInt(std::u16string_view text) {
    const std::string s = Narrow(text);
    return static_cast<int>(std::strtol(s.c_str(), nullptr, 10));
}

}  // namespace

std::u16string CalibrationSection(int n) { return u"scl_" + Decimal(n); }

std::u16string CalibrationStore::FormatValue(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    if (std::strtof(text, nullptr) != value) {
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    }
    return Ascii(text);
}

float CalibrationStore::ParseValue(std::u16string_view text) {
    const std::string s = Narrow(text);
    char* end = nullptr;
    const float v = std::strtof(s.c_str(), &end);
    // A zero, negative or unreadable scale would make every length wrong or
    // divide by zero: such a calibration measures in pixels.
    if (end == s.c_str() || !std::isfinite(v) || v <= 0.0f) {
        return 1.0f;
    }
    return v;
}

std::u16string CalibrationStore::ReadText(std::u16string_view section, std::u16string_view key) const {
    return file_.Read(section, key).value_or(u"NULL");
}

int CalibrationStore::Count() const {
    const auto text = file_.Read(kScale, kCount);
    return text ? std::clamp(ParseInt(*text), 0, kMaxCount) : 0;
}

std::optional<Calibration> CalibrationStore::Read(int n) const {
    const std::u16string section = CalibrationSection(n);
    const auto name = file_.Read(section, u"Name");
    const auto value = file_.Read(section, u"Value");
    if (!name && !value) {
        return std::nullopt;
    }
    Calibration c;
    c.section = n;
    c.name = name.value_or(u"");
    c.value = value ? ParseValue(*value) : 1.0f;
    c.unit = NormalizeUnit(ReadText(section, u"Unit"));
    c.resolution = ReadText(section, u"Reso");
    return c;
}

namespace {

float GridNumber(const std::optional<std::u16string>& text, float fallback) {
    if (!text) {
        return fallback;
    }
    const std::string s = Narrow(*text);
    char* end = nullptr;
    const float v = std::strtof(s.c_str(), &end);
    // A 0 would divide by zero and infinities or NaN have no size: all three
    // read as the default, as a text that is no number does.
    if (end == s.c_str() || v == 0.0f || !std::isfinite(v)) {
        return fallback;
    }
    return v;
}

}  // namespace

CountingGridSettings CalibrationStore::ReadGrid(int n) const {
    const std::u16string section = CalibrationSection(n);
    CountingGridSettings grid;
    grid.width = GridNumber(file_.Read(section, u"GridW"), grid.width);
    grid.height = GridNumber(file_.Read(section, u"GridH"), grid.height);
    grid.value = GridNumber(file_.Read(section, u"Value"), grid.value);
    if (const auto colour = file_.Read(section, u"GColor")) {
        grid.colour = static_cast<std::uint32_t>(ParseInt(*colour));
    }
    return grid;
}

int CalibrationStore::ReadRulerScale(int n) const {
    const auto text = file_.Read(CalibrationSection(n), u"RulerScale");
    if (!text) {
        return kDefaultRulerScale;
    }
    const std::string s = Narrow(*text);
    char* end = nullptr;
    const long long spacing = std::strtoll(s.c_str(), &end, 10);
    // A spacing below 1 would put every tick on the same pixel.
    return end == s.c_str() || spacing < 1 || spacing > INT32_MAX ? kDefaultRulerScale : static_cast<int>(spacing);
}

void CalibrationStore::WriteRulerScale(int n, int spacing) {
    file_.Write(CalibrationSection(n), u"RulerScale", Decimal(spacing));
}

std::vector<Calibration> CalibrationStore::List() const {
    std::vector<Calibration> list;
    const int count = Count();
    for (int n = 1; n <= count; ++n) {
        if (auto c = Read(n)) {
            list.push_back(std::move(*c));
        }
    }
    return list;
}

std::optional<int> CalibrationStore::Find(std::u16string_view name) const {
    const int count = Count();
    for (int n = 1; n <= count; ++n) {
        if (file_.Read(CalibrationSection(n), u"Name") == std::optional<std::u16string>(name)) {
            return n;
        }
    }
    return std::nullopt;
}

int CalibrationStore::Save(std::u16string_view name, float value, std::u16string_view unit, int width, int height) {
    int count = Count();
    // Overwrite where the name is found: a stored Rank may be stale or edited.
    const int n = Find(name).value_or(count + 1);
    count = std::max(count, n);
    const std::u16string section = CalibrationSection(n);
    file_.Write(kScale, kCount, Decimal(count));
    file_.Write(section, u"Name", name);
    file_.Write(section, u"Value", FormatValue(value));
    file_.Write(section, u"Rank", Decimal(n));
    file_.Write(section, u"Unit", unit);
    file_.Write(section, u"Reso", Decimal(width) + u" * " + Decimal(height));
    file_.Write(section, u"GridW", u"10");
    file_.Write(section, u"GridH", u"10");
    file_.Write(section, u"GColor", u"16777215");
    return n;
}

bool CalibrationStore::Delete(int n) {
    const int count = Count();
    if (n < 1 || n > count) {
        return false;
    }
    for (int m = n + 1; m <= count; ++m) {
        const std::u16string from = CalibrationSection(m);
        const std::u16string to = CalibrationSection(m - 1);
        for (const std::u16string_view key : kKeys) {
            if (key == u"Rank") {
                file_.Write(to, key, Decimal(m - 1));
            } else if (const auto text = file_.Read(from, key)) {
                file_.Write(to, key, *text);
            } else {
                file_.DeleteKey(to, key);
            }
        }
    }
    const std::u16string last = CalibrationSection(count);
    for (const std::u16string_view key : kKeys) {
        file_.DeleteKey(last, key);
    }
    file_.Write(kScale, kCount, Decimal(count - 1));
    return true;
}

void CalibrationStore::DeleteAll() {
    if (Count() > 0) {
        file_.RemoveAll();
    }
}
