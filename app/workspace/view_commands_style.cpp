// The style commands of the view: colours, label font, line width,
// precision, label modes, label box and the unit switch. Each acts on the
// target controller (the picture, or the live video while live measuring).
#include "colour_font_dialogs.h"
#include "command_enabling.h"
#include "log_font_win32.h"
#include "mikra_view.h"
#include "precision_dlg.h"
#include "resource.h"

namespace {

// The colour commands: which colour the dialog opens on, and where the
// chosen one goes.
struct ColourCommand {
    UINT id;
    COLORREF (*initial)(const CImageController&);
    void (CImageController::*apply)(COLORREF);
};

const ColourCommand kColourCommands[] = {
    {ID_DRAW_COLOR, [](const CImageController& c) -> COLORREF { return c.drawColour; },
     &CImageController::SetDrawColor},
    {ID_SELECT_COLOR, [](const CImageController& c) -> COLORREF { return c.selectedColour; },
     &CImageController::SetSelectColor},
    {ID_LABEL_BACKGROUND_COLOR, [](const CImageController& c) -> COLORREF { return c.labelBoxColour; },
     &CImageController::SetLabelBoxColor},
};

constexpr UINT kLabelModeCommands[] = {ID_LABEL_ALL, ID_LABEL_INDEX, ID_LABEL_RESULTS, ID_LABEL_NONE};

}  // namespace

void RegisterStyleCommands(CMikraView& view) {
    const auto onTarget = [&view](auto action) {
        return [&view, action] {
            if (CImageController* target = view.GetTargetController()) {
                action(*target);
            }
        };
    };
    // Commands that also need the target to show a picture.
    const auto onPicture = [&view](auto action) {
        return [&view, action] {
            if (CImageController* target = view.GetTargetController(); target != nullptr && target->HasWindow()) {
                action(*target);
            }
        };
    };

    for (const ColourCommand& command : kColourCommands) {
        view.OnCommand(
            command.id, onPicture([&view, command](CImageController& target) {
                target.FinishEditing();
                if (const auto colour = view.m_colourFontDialogs->ChooseColour(view.m_hWnd, command.initial(target))) {
                    (target.*command.apply)(*colour);
                }
            }));
    }
    view.OnCommand(
        ID_LABEL_FONT, onPicture([&view](CImageController& target) {
            target.FinishEditing();
            if (const auto font = view.m_colourFontDialogs->ChooseFont(view.m_hWnd, ToLogFontW(target.labelFont))) {
                target.SetLabelFont(*font);
            }
        }));
    view.OnCommand(ID_LINE_WIDTH, onPicture([&view](CImageController& target) {
                       target.FinishEditing();
                       if (view.m_frame == nullptr) {
                           return;
                       }
                       if (const std::optional<int> width = view.m_frame->AskLineWidth()) {
                           target.SetLineWidth(*width);
                       }
                   }));
    view.OnCommand(ID_RESULT_PRECISION, onTarget([&view](CImageController& target) {
                       target.FinishEditing();
                       CPrecisionDlg dialog(target.decimals, view.m_hWnd);
                       if (dialog.DoModal() != IDOK) {
                           return;
                       }
                       target.decimals = dialog.m_nDecimals <= 5 ? static_cast<std::int32_t>(dialog.m_nDecimals) : 0;
                       target.Render(0);
                       target.SaveSettings();
                       view.ReloadRuler();
                       ::InvalidateRect(view.m_hWnd, nullptr, FALSE);
                   }));
    for (const UINT id : kLabelModeCommands) {
        view.OnCommand(id, onTarget([mode = *LabelModeOfCommand(id)](CImageController& target) {
                           target.FinishEditing();
                           target.SetLabelMode(mode);
                       }));
    }
    view.OnCommand(ID_LABEL_BACKGROUND, onPicture([](CImageController& target) {
                       target.FinishEditing();
                       target.ToggleLabelBox();
                       target.Render(0);
                   }));
    view.OnCommand(ID_UNIT_SWITCH, onPicture([&view](CImageController& target) {
                       target.CancelInteraction();
                       target.SetTool(0);
                       target.CycleUnit();
                       if (view.m_bGridShown) {
                           target.LoadCalibration();
                           ::InvalidateRect(view.m_hWnd, nullptr, FALSE);
                       }
                       view.ReloadRuler();
                   }));
}
