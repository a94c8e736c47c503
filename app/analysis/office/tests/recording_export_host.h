#pragma once
// An export host that keeps what the exports report: the messages shown and
// each file written with whether it was to be opened.
#include <filesystem>
#include <string>
#include <vector>

#include "office_export.h"

class RecordingHost final : public IOfficeExportHost {
public:
    void ShowMessage(int stringId) override { messages.push_back(stringId); }
    void ExportWritten(const std::filesystem::path& file, bool open) override {
        written.push_back(file);
        opened.push_back(open);
    }
    std::wstring Text(int) override { return {}; }

    std::vector<int> messages;
    std::vector<std::filesystem::path> written;
    std::vector<bool> opened;
};
