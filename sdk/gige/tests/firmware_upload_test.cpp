// Firmware upload through memory writes: the chunks and their addresses, the
// bit reversal, the refusals before sending, the retries and the end state.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "firmware_file.h"
#include "program_upload.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Write {
    std::uint32_t address;
    Bytes data;
};

// Camera memory that logs every write and refuses the first writes of the
// chunks it is told to.
class RecordingMemory final : public FirmwareMemory {
public:
    std::map<std::uint32_t, int> refusalsAt;  // address -> writes refused there
    FirmwareUploadState* stopAfterAddress = nullptr;
    std::uint32_t stopAddress = 0;
    std::vector<Write> writes;

    std::int32_t WriteMem(std::span<const std::uint8_t> data, std::uint32_t address) override {
        writes.push_back({address, Bytes(data.begin(), data.end())});
        if (stopAfterAddress && address == stopAddress) stopAfterAddress->RequestStop();
        auto refusal = refusalsAt.find(address);
        if (refusal != refusalsAt.end() && refusal->second > 0) {
            --refusal->second;
            return -1;
        }
        return 0;
    }
};

std::uint8_t ReferenceReverse(std::uint8_t b) {
    std::uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (b & (1u << bit)) out |= static_cast<std::uint8_t>(1u << (7 - bit));
    }
    return out;
}

Bytes FirmwareBytes(std::size_t header, std::size_t payload) {
    Bytes file(header + payload);
    for (std::size_t i = 0; i < header; ++i) file[i] = 0xA5;
    for (std::size_t i = 0; i < payload; ++i) file[header + i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return file;
}

class TempFile {
public:
    explicit TempFile(const Bytes& bytes)
        : path_(std::filesystem::temp_directory_path() /
                ("kqge_firmware_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".jic")) {
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { std::filesystem::remove(path_); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

TEST(FirmwareFileTest, BitsOfEveryByteAreReversed) {
    EXPECT_EQ(ReverseBits(0x01), 0x80);
    EXPECT_EQ(ReverseBits(0x0F), 0xF0);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(ReverseBits(static_cast<std::uint8_t>(b)), ReferenceReverse(static_cast<std::uint8_t>(b))) << b;
    }
}

TEST(FirmwareUploadTest, FilesAreSentInChunksOrRefusedBeforeSending) {
    struct Case {
        const char* name;
        std::size_t header;
        std::size_t payload;
        std::map<std::uint32_t, int> refusals;
        std::int32_t result;
        std::size_t chunksSent;  // distinct chunks written
        std::size_t writes;      // all tries
        std::int32_t lastReport; // the result in the last progress report
    } cases[] = {
        {"full size", 149, 0x180000, {}, 0, 3072, 3072, 0},
        // A payload short of the image area ends with its empty chunk
        // refused, nothing more written.
        {"short", 149, 1000, {}, 37, 3, 2, 20},
        {"one byte", 149, 1, {}, 37, 2, 1, 20},
        {"one chunk exactly", 149, 512, {}, 37, 2, 1, 20},
        {"long", 149, 0x180001, {}, 20, 0, 0, 0},
        {"header only", 149, 0, {}, 20, 0, 0, 0},
        {"header cut", 100, 0, {}, 20, 0, 0, 0},
        {"three refusals then acknowledged", 149, 0x180000, {{1024, 3}}, 0, 3072, 3075, 0},
        {"four refusals", 149, 2000, {{1024, 4}}, 37, 3, 6, -1},
        {"last short chunk refused four times", 149, 1000, {{512, 4}}, 37, 2, 5, -1},
    };
    for (const Case& c : cases) {
        const Bytes file = FirmwareBytes(c.header, c.payload);
        const TempFile onDisk(file);
        RecordingMemory memory;
        memory.refusalsAt = c.refusals;
        FirmwareUploadState state;
        ASSERT_TRUE(state.Begin());
        std::vector<std::pair<std::uint32_t, std::int32_t>> progress;
        const std::int32_t result =
            WriteProgramFile(onDisk.path(), memory, state,
                             [&](std::uint32_t sent, std::int32_t last) { progress.emplace_back(sent, last); });
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(state.LastResult(), c.result) << c.name;
        EXPECT_FALSE(state.Running()) << c.name;
        ASSERT_EQ(memory.writes.size(), c.writes) << c.name;
        ASSERT_EQ(progress.size(), c.chunksSent) << c.name;

        // Every try carries its chunk's bytes, reversed, at 512 x k.
        for (const Write& w : memory.writes) {
            ASSERT_EQ(w.address % 512, 0u) << c.name;
            const std::size_t at = c.header + w.address;
            ASSERT_EQ(w.data.size(), std::min<std::size_t>(512, c.payload - w.address)) << c.name;
            for (std::size_t i = 0; i < w.data.size(); ++i) {
                ASSERT_EQ(w.data[i], ReferenceReverse(file[at + i])) << c.name << " at " << w.address + i;
            }
        }
        for (std::size_t k = 0; k < progress.size(); ++k) {
            EXPECT_EQ(progress[k].first, std::min<std::size_t>(512 * (k + 1), c.payload)) << c.name;
        }
        if (!progress.empty()) {
            EXPECT_EQ(progress.back().second, c.lastReport) << c.name;
        }
        if (c.result == 0) {
            EXPECT_EQ(memory.writes.back().address, 512 * (c.chunksSent - 1)) << c.name;
            EXPECT_EQ(progress.back().first, c.payload) << c.name;
        }
    }
}

TEST(FirmwareUploadTest, MissingFileSendsNothingAndEndsWith3) {
    RecordingMemory memory;
    FirmwareUploadState state;
    ASSERT_TRUE(state.Begin());
    int calls = 0;
    EXPECT_EQ(WriteProgramFile(std::filesystem::temp_directory_path() / "kqge_no_such_firmware.jic", memory, state,
                               [&](std::uint32_t, std::int32_t) { ++calls; }),
              3);
    EXPECT_TRUE(memory.writes.empty());
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(state.LastResult(), 3);
    EXPECT_FALSE(state.Running());
}

TEST(FirmwareUploadTest, OneUploadAtATimeAndAStopEndsAfterTheCurrentChunk) {
    FirmwareUploadState state;
    EXPECT_EQ(state.LastResult(), FirmwareUploadState::kNoResult);
    ASSERT_TRUE(state.Begin());
    EXPECT_FALSE(state.Begin());

    RecordingMemory memory;
    memory.stopAfterAddress = &state;
    memory.stopAddress = 1024;
    memory.refusalsAt = {{1024, 1}};  // no retry once stopped
    const Bytes file = FirmwareBytes(149, 4096);
    EXPECT_EQ(UploadFirmware(file, memory, state, {}), 37);
    ASSERT_EQ(memory.writes.size(), 3u);
    EXPECT_EQ(memory.writes.back().address, 1024u);

    // The flag is clear at the end, so the next upload may begin.
    EXPECT_FALSE(state.Running());
    ASSERT_TRUE(state.Begin());
    RecordingMemory second;
    EXPECT_EQ(UploadFirmware(FirmwareBytes(149, kFirmwarePayloadLimit), second, state, {}), 0);
    EXPECT_EQ(second.writes.size(), 3072u);
    EXPECT_EQ(state.LastResult(), 0);
}

}  // namespace
}  // namespace kqge
