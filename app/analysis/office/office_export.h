#pragma once
// The Office export engine: writes a picture's measurement results, and the
// picture, into a workbook or a document by driving the installed Office
// programs through their automation objects ("Excel.Application",
// "Word.Application"). The caller has initialised COM on its thread.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cl_object.h"
#include "counter_style.h"
#include "office_export_host.h"

// Where the engine finds the templates (the program folder) and Config.ini.
struct OfficeExportPlaces {
    std::filesystem::path programFolder;
    std::filesystem::path configFile;
    // The program folder and its Config.ini.
    static OfficeExportPlaces Program();
};

class COfficeExport {
public:
    using ObjectList = std::vector<std::unique_ptr<CCLObject>>;

    explicit COfficeExport(IOfficeExportHost& host, OfficeExportPlaces places = OfficeExportPlaces::Program());
    virtual ~COfficeExport();
    COfficeExport(const COfficeExport&) = delete;
    COfficeExport& operator=(const COfficeExport&) = delete;

    // The lists written; not owned, null for none.
    void SetObjectList(const ObjectList* objects) { objects_ = objects; }
    void SetCounterList(const CounterStyleList* counters) { counters_ = counters; }

    // Writes the attached lists into the workbook `target` (".xls" or
    // ".xlsx"), below what it holds already, with the picture at `picture`
    // (BMP or JPEG; none when empty) above the table. A workbook the
    // spreadsheet program has open is closed through automation, saving it,
    // first; when that fails, or any later call does, the user is told, the
    // program is closed without saving and `target` stays as it was.
    // Nothing at all without an attached list.
    void ExportExcel(std::wstring target, std::wstring picture);

    static std::wstring FormatValue(int decimals, float value);

    // The "Position" read at the last export.
    int PositionRow() const { return positionRow_; }

private:
    int ReadConfigInt(const std::wstring& section, const wchar_t* key, int fallback) const;

    IOfficeExportHost& host_;
    OfficeExportPlaces places_;
    const ObjectList* objects_ = nullptr;
    const CounterStyleList* counters_ = nullptr;
    int positionRow_ = 0;
};
