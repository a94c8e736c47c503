#pragma once
// The Office exports as the program runs them for its image controllers:
// each export gets an engine of its own over the controller's lists, the
// program's message box shows what the user is told, and a finished file
// goes to the main frame's export list and is opened with the shell.
#include <windows.h>

#include <functional>
#include <string>

#include "office_export.h"
#include "office_exports.h"

class COfficeExportService final : public IOfficeExports, public IOfficeExportHost {
public:
    struct Frame {
        std::function<OfficeExportOptions()> options;
        std::function<std::wstring()> exportFolder;
        std::function<void(const std::wstring&)> addExportFile;
        std::function<void(const OfficeExportOptions&)> storeOptions;
        std::function<HWND()> parent;
        // Where the picture file dialogs start.
        std::function<std::wstring()> pictureFolder;
    };

    explicit COfficeExportService(Frame frame) : frame_(std::move(frame)) {}

    OfficeExportOptions Options() override { return frame_.options ? frame_.options() : OfficeExportOptions{}; }
    std::filesystem::path ExportFolder() override { return frame_.exportFolder ? frame_.exportFolder() : L""; }
    void ExportExcel(const ObjectList& objects, const CounterStyleList& counters, const std::filesystem::path& target,
                     const std::filesystem::path& picture) override;
    void ExportWord(const ObjectList& objects, const std::filesystem::path& target,
                    const std::filesystem::path& picture, float pictureScale, int templateNumber,
                    bool useTemplate) override;
    void ShowExcelSettings() override;
    void ShowWordTemplate() override;

    // The program's message box, export list and language texts.
    void ShowMessage(int stringId) override;
    void ExportWritten(const std::filesystem::path& file, bool open) override;
    std::wstring Text(int stringId) override;

private:
    // The folder an export file goes into, made when it is missing (an
    // installation starts without its "Files" folder); false when it cannot
    // be made, after the user has been told.
    bool MakeFolder(const std::filesystem::path& folder);

    Frame frame_;
};
