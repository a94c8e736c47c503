#include "data_prompts.h"

#include <utility>

namespace {

DataPromptSource& Source() {
    static DataPromptSource source;
    return source;
}

const wchar_t* EnglishText(DataPrompt prompt) {
    switch (prompt) {
    case DataPrompt::Integer: return L"Please enter an integer.";
    case DataPrompt::IntegerRange: return L"Please enter an integer between %1 and %2.";
    case DataPrompt::Number: return L"Please enter a number.";
    }
    return L"";
}

// Replaces every "%1" and "%2"; other text, a lone "%" included, stays.
std::wstring PutLimits(const std::wstring& text, long long min, long long max) {
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == L'1' || text[i + 1] == L'2')) {
            result += std::to_wstring(text[i + 1] == L'1' ? min : max);
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

void SetDataPromptSource(DataPromptSource source) { Source() = std::move(source); }

std::wstring DataPromptText(DataPrompt prompt, long long min, long long max) {
    std::wstring text;
    if (Source()) {
        text = Source()(prompt);
    }
    if (text.empty()) {
        text = EnglishText(prompt);
    }
    return prompt == DataPrompt::IntegerRange ? PutLimits(text, min, max) : text;
}
