#include "system_compressor_chooser.h"

#include "video_compressor_choice.h"

namespace kqge {

std::uint32_t SystemCompressorChooser::Choose(std::uint32_t current) {
    return ChooseVideoCompressor(nullptr, current).value_or(0);
}

}  // namespace kqge
