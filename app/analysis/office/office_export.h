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

    // Word roads (office_export_word.cpp). The measurement road writes the
    // picture at `picture` (none when empty) and a table of the object
    // list into a new document, from Template<n>.dot when the template is
    // used; the picture road places the picture paths, two to a line, at
    // the picture size. Both save to `target` and leave the word processor
    // open with the document; a failed call is reported to the user.
    void ExportWord(std::wstring target, std::wstring picture);
    void ExportPicturesToWord(std::wstring target);
    void SetPictureScale(float percent) { pictureScale_ = percent; }
    void SetTemplate(int number, bool use) {
        templateNumber_ = number;
        useTemplate_ = use;
    }
    // Centimetres.
    void SetPictureSize(int width, int height) {
        pictureWidth_ = width;
        pictureHeight_ = height;
    }
    void SetPicturePaths(std::vector<std::wstring> paths) { picturePaths_ = std::move(paths); }

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
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    std::vector<std::wstring> picturePaths_;
    int templateNumber_ = 0;
    bool useTemplate_ = false;
    float pictureScale_ = 100.0f;
};
