#pragma once
// The count report as the results dialog hands it to the word processor:
// the outlined picture, written as a JPEG under a name of our own, and the
// texts of its two tables in the order they are written. Platform-free.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "count_table.h"
#include "picture.h"
#include "unique_temp_file.h"

// The fixed texts of the results: the count's label, the labels of the four
// summary rows and the twelve column headings.
struct CountLabels {
    std::wstring count;
    std::array<std::wstring, 4> summary;
    std::array<std::wstring, 12> headings;
};

struct CountReport {
    // Two columns: the number of targets shown, then the summary rows.
    std::vector<std::array<std::wstring, 2>> summary;
    // Twelve columns: the headings, then one row per target shown.
    std::vector<std::array<std::wstring, 12>> results;
};

CountReport BuildCountReport(const CountTable& table, const CountLabels& labels);

// Writes a report document; the implementation owns the word processor.
// Not owned by its callers, so no virtual destructor.
class ICountReportWriter {
public:
    // Writes `report` to `document`, with the picture at `picture` (none when
    // empty) above the tables. False when the word processor could not be
    // started; nothing is written then.
    virtual bool WriteCountReport(const std::filesystem::path& document, const std::filesystem::path& picture,
                                  const CountReport& report) = 0;

protected:
    ~ICountReportWriter() = default;
};

// The report's picture: `picture` saved as a JPEG in `folder` under a name
// no file had, removed when the object goes. A user's file of the same
// stem beside the report is never written or removed.
class CCountReportPicture {
public:
    CCountReportPicture(const CPicture& picture, const std::filesystem::path& folder);

    // The JPEG; empty when it could not be written.
    std::filesystem::path Path() const { return written_ ? file_.Path() : std::filesystem::path(); }

private:
    CUniqueTempFile file_;
    bool written_ = false;
};
