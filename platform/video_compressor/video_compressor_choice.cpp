#include "video_compressor_choice.h"

#include <vfw.h>

std::optional<std::uint32_t> ChooseVideoCompressor(HWND owner, std::uint32_t current) {
    COMPVARS vars{};
    vars.cbSize = sizeof(vars);
    vars.dwFlags = ICMF_COMPVARS_VALID;
    vars.fccType = ICTYPE_VIDEO;
    vars.fccHandler = current;
    vars.lQ = 7500;
    vars.lKey = 15;
    // The dialog shows an opened compressor as the current choice; its
    // clean-up closes it.
    if (current != 0) vars.hic = ICOpen(ICTYPE_VIDEO, current, ICMODE_COMPRESS);
    char title[] = "Video Compressor";
    const bool chosen = ICCompressorChoose(owner, ICMF_CHOOSE_KEYFRAME, nullptr, nullptr, &vars, title) != FALSE;
    const std::uint32_t code = vars.fccHandler;
    ICCompressorFree(&vars);
    if (!chosen) return std::nullopt;
    return code;
}
