#pragma once
// What the program takes from its command line (platform-free).
#include <string>
#include <string_view>

// The document path of a command line: the text between the first and the
// last double quote when it has one, else the whole text.
std::wstring ExtractDocumentPath(std::wstring_view commandLine);

// Whether a text names a drawing document ("kqmk" anywhere, case-sensitive).
bool NamesDrawingDocument(std::wstring_view text);
