#pragma once
// The texts with which dialog data exchange refuses input. The framework
// words them in English; a program with its own language texts installs a
// source that supplies them.
#include <functional>
#include <string>

enum class DataPrompt {
    Integer,       // the text is not a whole number
    IntegerRange,  // a whole number outside its range; "%1" and "%2" stand for the limits
    Number,        // the text is not a decimal number
};

// Answers the text of a prompt, or an empty text to keep the framework's own.
using DataPromptSource = std::function<std::wstring(DataPrompt)>;

// Installs the source for every later refusal, on any thread's dialogs; an
// empty source restores the English texts. Call it while no dialog runs.
void SetDataPromptSource(DataPromptSource source);

// The text a refusal shows, with the limits put in for IntegerRange.
std::wstring DataPromptText(DataPrompt prompt, long long min = 0, long long max = 0);
