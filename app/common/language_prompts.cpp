#include "language_prompts.h"

#include "data_prompts.h"
#include "resource.h"
#include "resource_module.h"

void UseLanguageDataPrompts() {
    SetDataPromptSource([](DataPrompt prompt) {
        switch (prompt) {
        case DataPrompt::Integer: return LoadResourceString(IDS_PARSE_INTEGER);
        case DataPrompt::IntegerRange: return LoadResourceString(IDS_INTEGER_RANGE);
        case DataPrompt::Number: return LoadResourceString(IDS_PARSE_NUMBER);
        }
        return std::wstring();
    });
}
