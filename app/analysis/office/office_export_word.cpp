// The Word roads of the Office export engine.
#include <windows.h>
#include <objbase.h>

#include "automation.h"
#include "counting_resource.h"
#include "office_export.h"
#include "office_resource.h"
#include "office_rows.h"
#include "word_dispids.h"

namespace {

namespace dispid = word_dispid;

constexpr int kLineUnit = 5;
constexpr int kCharacterUnit = 1;
constexpr int kCellUnit = 12;
constexpr int kCentred = 1;
constexpr double kPointsPerCentimetre = 28.35;

ComPtr<IDispatch> StartWord() {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(L"Word.Application", &clsid))) return nullptr;
    IDispatch* raw = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&raw)))) {
        return nullptr;
    }
    return ComPtr<IDispatch>(raw);
}

void Move(IDispatch& selection, DISPID direction, int unit, int count) {
    automation::Call(selection, direction, {CVariant(unit), CVariant(count)});
}

void SaveDocument(IDispatch& document, const std::wstring& target) {
    automation::Call(document, dispid::kSaveAs,
                     {CVariant(target), CVariant(0), CVariant(false), CVariant(L""), CVariant(true), CVariant(L""),
                      CVariant(false), CVariant(false), CVariant(false), CVariant(false), CVariant(false)});
}

}  // namespace

void COfficeExport::ExportWord(std::wstring target, std::wstring picture) {
    ComPtr<IDispatch> word = StartWord();
    if (!word) {
        host_.ShowMessage(IDS_RESULT_WORD_FAILED);
        return;
    }
    const OfficeTextSource texts = [this](int id) { return host_.Text(id); };
    try {
        automation::Put(*word, dispid::kVisible, CVariant(true));
        ComPtr<IDispatch> documents = automation::GetObject(*word, dispid::kDocuments);
        const std::wstring base =
            useTemplate_
                ? (places_.programFolder / (L"Template" + std::to_wstring(templateNumber_) + L".dot")).wstring()
                : std::wstring();
        automation::Call(*documents, dispid::kAdd, {CVariant(base), CVariant(false), CVariant(0), CVariant::Omitted()});
        ComPtr<IDispatch> document = automation::GetObject(*word, dispid::kActiveDocument);
        ComPtr<IDispatch> selection = automation::GetObject(*word, dispid::kSelection);
        ComPtr<IDispatch> shapes = automation::GetObject(*selection, dispid::kInlineShapes);
        if (useTemplate_) {
            positionRow_ = ReadConfigInt(L"WordTemplate" + std::to_wstring(templateNumber_), L"Position", 0);
            Move(*selection, dispid::kMoveDown, kLineUnit, positionRow_);
        }
        if (!picture.empty()) {
            ComPtr<IDispatch> at = automation::GetObject(*selection, dispid::kRange);
            ComPtr<IDispatch> shape = automation::GetObject(
                *shapes, dispid::kAddPicture, {CVariant(picture), CVariant(false), CVariant(true), CVariant(at.get())});
            automation::Put(*shape, dispid::kLockAspectRatio, CVariant(0));
            if (pictureScale_ > 0) {
                automation::Put(*shape, dispid::kScaleHeight, CVariant(static_cast<double>(pictureScale_)));
                automation::Put(*shape, dispid::kScaleWidth, CVariant(static_cast<double>(pictureScale_)));
            }
        }
        Move(*selection, dispid::kMoveRight, kCharacterUnit, 1);
        automation::Call(*selection, dispid::kTypeText, {CVariant(L"\n")});
        ComPtr<IDispatch> tables = automation::GetObject(*document, dispid::kTables);
        ComPtr<IDispatch> at = automation::GetObject(*selection, dispid::kRange);
        automation::Call(*tables, dispid::kTablesAdd, {CVariant(at.get()), CVariant(2), CVariant(9), CVariant(1), CVariant(0)});
        ComPtr<IDispatch> table = automation::GetObject(*tables, dispid::kTablesItem, {CVariant(1)});
        automation::Call(*selection, dispid::kMoveEnd, {CVariant::Omitted(), CVariant::Omitted()});
        const auto typeRow = [&](const std::array<std::wstring, 9>& cells) {
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i > 0) Move(*selection, dispid::kMoveRight, kCellUnit, 1);
                automation::Call(*selection, dispid::kTypeText, {CVariant(cells[i])});
            }
        };
        typeRow(OfficeHeadings(texts));
        if (objects_ != nullptr) {
            for (const std::unique_ptr<CCLObject>& object : *objects_) {
                if (!object) continue;
                if (const auto cells = OfficeRowFor(*object, texts)) {
                    automation::Call(*selection, dispid::kInsertRowsBelow, {CVariant(1)});
                    Move(*selection, dispid::kMoveLeft, kCellUnit, 1);
                    typeRow(*cells);
                }
            }
        }
        SaveDocument(*document, target);
    } catch (const AutomationError&) {
        // The word processor stays open with the unsaved document, for the
        // user to see where it stopped.
        host_.ShowMessage(IDS_OFFICE_EXPORT_FAILED);
        return;
    }
    host_.ExportWritten(target, false);
}

void COfficeExport::ExportPicturesToWord(std::wstring target) {
    ComPtr<IDispatch> word = StartWord();
    if (!word) {
        host_.ShowMessage(IDS_RESULT_WORD_FAILED);
        return;
    }
    try {
        automation::Put(*word, dispid::kVisible, CVariant(true));
        ComPtr<IDispatch> documents = automation::GetObject(*word, dispid::kDocuments);
        const std::wstring base =
            (places_.programFolder / (L"Template" + std::to_wstring(templateNumber_) + L".dot")).wstring();
        automation::Call(*documents, dispid::kAdd, {CVariant(base), CVariant(true), CVariant(0), CVariant::Omitted()});
        ComPtr<IDispatch> document = automation::GetObject(*word, dispid::kActiveDocument);
        ComPtr<IDispatch> selection = automation::GetObject(*word, dispid::kSelection);
        ComPtr<IDispatch> shapes = automation::GetObject(*selection, dispid::kInlineShapes);
        positionRow_ = ReadConfigInt(L"WordTemplate" + std::to_wstring(templateNumber_), L"Position", 0);
        Move(*selection, dispid::kMoveDown, kLineUnit, positionRow_);
        ComPtr<IDispatch> paragraph = automation::GetObject(*selection, dispid::kParagraphFormat);
        for (std::size_t i = 0; i < picturePaths_.size(); ++i) {
            automation::Put(*paragraph, dispid::kAlignment, CVariant(kCentred));
            ComPtr<IDispatch> at = automation::GetObject(*selection, dispid::kRange);
            ComPtr<IDispatch> shape = automation::GetObject(
                *shapes, dispid::kAddPicture,
                {CVariant(picturePaths_[i]), CVariant(false), CVariant(true), CVariant(at.get())});
            automation::Put(*shape, dispid::kLockAspectRatio, CVariant(0));
            automation::Put(*shape, dispid::kWidth, CVariant(pictureWidth_ * kPointsPerCentimetre));
            automation::Put(*shape, dispid::kHeight, CVariant(pictureHeight_ * kPointsPerCentimetre));
            Move(*selection, dispid::kMoveRight, kCharacterUnit, 1);
            if (i % 2 == 1) {
                automation::Call(*selection, dispid::kTypeParagraph);
                automation::Call(*selection, dispid::kTypeParagraph);
            } else {
                automation::Call(*selection, dispid::kTypeText, {CVariant(L"     ")});
            }
        }
        SaveDocument(*document, target);
    } catch (const AutomationError&) {
        host_.ShowMessage(IDS_OFFICE_EXPORT_FAILED);
        return;
    }
    host_.ExportWritten(target, false);
}
