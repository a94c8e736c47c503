#pragma once
// The count report written by the word processor through its automation
// object ("Word.Application"): the outlined picture, the summary table and
// the results table, in that order, saved as a Word document that stays
// open in the word processor.
#include "count_report.h"
#include "office_export_host.h"

class CWordCountReport final : public ICountReportWriter {
public:
    explicit CWordCountReport(IOfficeExportHost& host) : host_(host) {}

    bool WriteCountReport(const std::filesystem::path& document, const std::filesystem::path& picture,
                          const CountReport& report) override;

private:
    IOfficeExportHost& host_;
};
