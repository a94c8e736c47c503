#include "count_report.h"

CountReport BuildCountReport(const CountTable& table, const CountLabels& labels) {
    CountReport report;
    report.summary.push_back({labels.count, std::to_wstring(table.rows.size())});
    for (std::size_t i = 0; i < labels.summary.size(); ++i) {
        report.summary.push_back({labels.summary[i], table.summary[i]});
    }
    report.results.reserve(table.rows.size() + 1);
    report.results.push_back(labels.headings);
    report.results.insert(report.results.end(), table.rows.begin(), table.rows.end());
    return report;
}

CCountReportPicture::CCountReportPicture(const CPicture& picture, const std::filesystem::path& folder)
    : file_(folder, "~count", ".jpg") {
    written_ = !file_.Path().empty() && picture.IsValid() && picture.Save(file_.Path(), kPictureJpeg);
}
