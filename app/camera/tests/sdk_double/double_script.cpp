#include "double_script.h"

#include <cstdlib>
#include <sstream>

namespace {
std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}
}  // namespace

void DoubleScript::Parse(const std::string& text) {
    m_values.clear();
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) {
            continue;
        }
        const auto blank = line.find_first_of(" \t");
        const std::string key = line.substr(0, blank);
        m_values[key] = blank == std::string::npos ? std::string() : Trim(line.substr(blank));
    }
}

bool DoubleScript::Has(const std::string& key) const { return m_values.count(key) != 0; }

int DoubleScript::Int(const std::string& key, int fallback) const {
    const auto found = m_values.find(key);
    return found == m_values.end() ? fallback : static_cast<int>(std::strtol(found->second.c_str(), nullptr, 0));
}

double DoubleScript::Number(const std::string& key, double fallback) const {
    const auto found = m_values.find(key);
    return found == m_values.end() ? fallback : std::strtod(found->second.c_str(), nullptr);
}

std::string DoubleScript::Text(const std::string& key, const std::string& fallback) const {
    const auto found = m_values.find(key);
    return found == m_values.end() ? fallback : found->second;
}

std::vector<int> DoubleScript::Ints(const std::string& key) const {
    std::vector<int> values;
    std::istringstream in(Text(key, {}));
    for (long value; in >> value;) {
        values.push_back(static_cast<int>(value));
    }
    return values;
}
