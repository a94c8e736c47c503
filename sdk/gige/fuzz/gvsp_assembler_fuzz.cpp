// Any sequence of stream packets on one stream: the first two bytes choose
// the payload size, then each packet is a length byte and that many bytes.
// A delivered frame is the padded leader with the host port, then exactly
// the pixels its leader announced.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "be_bytes.h"
#include "gvsp_assembler.h"
#include "gvsp_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kqge::standin;
    if (size < 2) return 0;
    const std::span<const std::uint8_t> input(data, size);
    const std::size_t payload = vz::GetBE16(input, 0) % 600;
    constexpr std::uint16_t kPort = 0xD6DD;
    GvspAssembler assembler(kPort, payload, 1u << 20);
    std::uint64_t frames = 0;
    std::optional<GvspLeader> lastLeader;
    for (std::size_t at = 2; at < size;) {
        const std::size_t length = std::min<std::size_t>(input[at], size - at - 1);
        const auto packet = input.subspan(at + 1, length);
        at += 1 + length;
        if (const auto header = DecodeGvspHeader(packet); header && header->format == GvspFormat::leader) {
            lastLeader = DecodeGvspLeader(packet);
        }
        const auto frame = assembler.Feed(packet);
        if (!frame) continue;
        ++frames;
        if (!lastLeader) __builtin_trap();
        const std::size_t pixels =
            std::size_t{lastLeader->width} * lastLeader->height * GvspBytesPerPixel(lastLeader->pixelFormat);
        if (frame->size() != payload + pixels || vz::GetBE16(*frame, 42) != kPort) __builtin_trap();
    }
    if (assembler.Tally().delivered != frames) __builtin_trap();
    return 0;
}
