#include "system_compressor_chooser.h"

#include <windows.h>
#include <vfw.h>

namespace kqge {

std::uint32_t SystemCompressorChooser::Choose(std::uint32_t current) {
    COMPVARS vars{};
    vars.cbSize = sizeof(vars);
    vars.dwFlags = ICMF_COMPVARS_VALID;
    vars.fccType = ICTYPE_VIDEO;
    vars.fccHandler = current;
    vars.lQ = 7500;
    vars.lKey = 15;
    // The dialog shows an opened compressor as the current choice; the
    // dialog's clean-up closes it.
    if (current != 0) vars.hic = ICOpen(ICTYPE_VIDEO, current, ICMODE_COMPRESS);
    char title[] = "Video Compressor";
    const bool chosen = ICCompressorChoose(nullptr, ICMF_CHOOSE_KEYFRAME, nullptr, nullptr, &vars, title) != FALSE;
    const std::uint32_t code = chosen ? vars.fccHandler : 0;
    ICCompressorFree(&vars);
    return code;
}

}  // namespace kqge
