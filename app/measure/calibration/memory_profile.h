#pragma once
// An INI file held in memory, for tests and for code that builds settings
// before writing them.
#include <map>
#include <string>

#include "profile_text.h"

class MemoryProfile final : public ProfileText {
public:
    std::optional<std::u16string> Read(std::u16string_view section, std::u16string_view key) const override;
    bool Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) override;
    bool DeleteKey(std::u16string_view section, std::u16string_view key) override;
    bool RemoveAll() override;

    bool Empty() const { return sections_.empty(); }

private:
    using Keys = std::map<std::u16string, std::u16string>;
    std::map<std::u16string, Keys> sections_;
};
