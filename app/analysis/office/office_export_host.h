#pragma once
// What the Office exports ask of the program around them: the user's
// messages and the files they have written. The program's implementation
// shows the message box and fills the main frame's export list; tests
// record. Not owned by the exporter, so no virtual destructor.
#include <filesystem>
#include <string>

class IOfficeExportHost {
public:
    // Shows the text of `stringId` in the program's message box (OK and
    // Cancel; the answer is not used).
    virtual void ShowMessage(int stringId) = 0;
    // A finished export: added to the main frame's export list and, when
    // `open` is set, opened with the shell's "open" verb.
    virtual void ExportWritten(const std::filesystem::path& file, bool open) = 0;
    // The language library's text of a string id; empty when it has none.
    virtual std::wstring Text(int stringId) = 0;

protected:
    ~IOfficeExportHost() = default;
};
