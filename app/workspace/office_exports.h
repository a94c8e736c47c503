#pragma once
// The Office exports as the image controllers hand them on: the options
// and export folder of the application, and the engine that writes the
// workbook or document. The shell supplies the implementation, so the
// workspace never links the engine; the controllers hold it without owning
// it, so no virtual destructor.
#include <filesystem>
#include <memory>
#include <vector>

#include "counter_style.h"
#include "export_file_names.h"

class CCLObject;

class IOfficeExports {
public:
    using ObjectList = std::vector<std::unique_ptr<CCLObject>>;

    virtual OfficeExportOptions Options() = 0;
    // The export folder, with its trailing separator.
    virtual std::filesystem::path ExportFolder() = 0;
    // Writes `objects` and `counters` into the workbook `target` with the
    // picture at `picture` (none when empty).
    virtual void ExportExcel(const ObjectList& objects, const CounterStyleList& counters,
                             const std::filesystem::path& target, const std::filesystem::path& picture) = 0;
    // Writes the picture and `objects` into the document `target`; the
    // picture is scaled to `pictureScale` percent (kept at its own size
    // when not positive), the document made from template `templateNumber`
    // when `useTemplate` is set.
    virtual void ExportWord(const ObjectList& objects, const std::filesystem::path& target,
                            const std::filesystem::path& picture, float pictureScale, int templateNumber,
                            bool useTemplate) = 0;
    // The Excel export settings dialog over the options; kept on OK.
    virtual void ShowExcelSettings() = 0;
    // The Word template picture export dialog, modal.
    virtual void ShowWordTemplate() = 0;

protected:
    ~IOfficeExports() = default;
};
