#include "command_line.h"

std::wstring ExtractDocumentPath(std::wstring_view commandLine) {
    const auto first = commandLine.find(L'"');
    if (first == std::wstring_view::npos) {
        return std::wstring(commandLine);
    }
    const auto last = commandLine.rfind(L'"');
    // A lone quote gives the text after it.
    const auto end = last > first ? last : commandLine.size();
    return std::wstring(commandLine.substr(first + 1, end - first - 1));
}

bool NamesDrawingDocument(std::wstring_view text) { return text.find(L"kqmk") != std::wstring_view::npos; }
