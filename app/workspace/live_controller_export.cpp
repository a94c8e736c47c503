// The live controller's Office exports: the snapshot just taken, with the
// live objects burnt in, and the measurements.
#include <cwctype>
#include <system_error>

#include "live_controller.h"
#include "picture.h"
#include "unique_temp_file.h"

namespace {

bool EndsWith(const std::wstring& text, const wchar_t* ending) {
    const std::wstring tail(ending);
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::towlower(text[text.size() - tail.size() + i]) != tail[i]) return false;
    }
    return true;
}

bool Exists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

int CLiveController::SnapshotKind(const std::filesystem::path& path) {
    const std::wstring text = path.wstring();
    if (EndsWith(text, L"bmp")) return 1;
    if (EndsWith(text, L"jpg")) return 2;
    if (EndsWith(text, L"tiff")) return 3;
    return 0;
}

void CLiveController::ExportExcel() {
    if (officeExports_ == nullptr || !HasWindow() || overlay_ == nullptr) return;
    const OfficeExportOptions options = officeExports_->Options();
    std::unique_ptr<CUniqueTempFile> converted;
    std::filesystem::path picture;
    if (options.excelPicture) {
        const int kind = SnapshotKind(snapshotPath_);
        if (snapshotPath_.empty() || kind == 0) return;
        RenderToImage(snapshotPath_, kind);
        picture = snapshotPath_;
        if (kind == 3) {
            // The spreadsheet program takes BMP: a copy of our own, never a
            // sibling of the snapshot, which could be the user's file.
            converted = std::make_unique<CUniqueTempFile>(ExportScratchFolder(), "export", ".bmp");
            const CPicture tiff(snapshotPath_, 3);
            picture = !converted->Path().empty() && tiff.Save(converted->Path(), 1) ? converted->Path()
                                                                                      : std::filesystem::path();
        }
    }
    const std::filesystem::path target =
        ExcelExportTarget(options, officeExports_->ExportFolder(), GetExcelVersion(), LocalNow(), Exists);
    officeExports_->ExportExcel(*GetObjectList(), GetCounterStyles()->Records(), target, picture);
    if (options.excelPicture) snapshotPath_.clear();
}

void CLiveController::ExportWord() {
    if (officeExports_ == nullptr || !HasWindow() || overlay_ == nullptr || snapshotPath_.empty()) return;
    const int kind = SnapshotKind(snapshotPath_);
    if (kind == 0) return;
    const OfficeExportOptions options = officeExports_->Options();
    RenderToImage(snapshotPath_, kind);
    const std::filesystem::path target =
        FreeDocumentName(officeExports_->ExportFolder(), snapshotPath_.stem().wstring(), Exists);
    officeExports_->ExportWord(*GetObjectList(), target, snapshotPath_, options.wordPictureAutoSize ? -100.0f : 100.0f,
                               wordTemplateNumber_, useWordTemplate_);
    snapshotPath_.clear();
}
