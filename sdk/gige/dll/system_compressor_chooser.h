// The system's compressor choice dialog, titled "Video Compressor": video
// compressors only, quality 7500 and a key frame every 15 frames, the
// current choice offered first. Modal on the caller's thread, without owner.
#pragma once

#include <cstdint>

#include "gige_camera.h"

namespace kqge {

class SystemCompressorChooser final : public CompressorChooser {
public:
    std::uint32_t Choose(std::uint32_t current) override;
};

}  // namespace kqge
