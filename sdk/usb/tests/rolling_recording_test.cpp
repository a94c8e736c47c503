// The files of a rolling recording while a finished file is still being
// closed: writers that record what reaches them, one of whose Close waits
// until the test lets it go.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "files/rolling_recording.h"

namespace kq::files {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr std::uint64_t kFrameBytes = 100;

// What happened to each file, by name; shared by the writers and the test
// across the closing thread.
struct Files {
    struct File {
        std::vector<std::uint32_t> positions;
        std::vector<std::uint8_t> firstBytes;  // of each frame written
        bool closed = false;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::map<fs::path, File> files;
    fs::path held;     // this file's Close waits until released
    fs::path failing;  // this file's Close reports a write error
    bool released = false;
    bool closeWaiting = false;

    void Release() {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
        changed.notify_all();
    }
    bool WaitUntilCloseWaits() {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, 10s, [this] { return closeWaiting; });
    }
    File Of(const fs::path& path) {
        std::lock_guard<std::mutex> lock(mutex);
        return files[path];
    }
};

class RecordedWriter final : public AviWriter {
public:
    RecordedWriter(Files& files, fs::path path, const Format& format)
        : AviWriter(format), files_(files), path_(std::move(path)) {
        std::lock_guard<std::mutex> lock(files_.mutex);
        files_.files[path_];
    }
    bool WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame) override {
        if (positions_ > 0 && index < positions_) return true;
        positions_ = index + 1;
        ++frames_;
        std::lock_guard<std::mutex> lock(files_.mutex);
        files_.files[path_].positions.push_back(index);
        files_.files[path_].firstBytes.push_back(frame[0]);
        return true;
    }
    std::uint64_t FileBytes() const override { return frames_ * kFrameBytes; }
    std::uint64_t FrameCost() const override { return kFrameBytes; }
    std::uint32_t Positions() const override { return positions_; }
    bool Close() override {
        std::unique_lock<std::mutex> lock(files_.mutex);
        if (path_ == files_.held) {
            files_.closeWaiting = true;
            files_.changed.notify_all();
            files_.changed.wait(lock, [this] { return files_.released; });
        }
        files_.files[path_].closed = true;
        files_.changed.notify_all();
        return path_ != files_.failing;
    }

private:
    Files& files_;
    fs::path path_;
    std::uint32_t positions_ = 0;
    std::uint64_t frames_ = 0;
};

class RollingRecordingTest : public ::testing::Test {
protected:
    RollingRecordingTest()
        : recording([this](const fs::path& path, const AviWriter::Format& format) {
              return std::make_unique<RecordedWriter>(files, path, format);
          }) {
        // Two frames a file.
        recording.SetLimit(2 * kFrameBytes);
        recording.Name(folder / "movie.avi");
    }

    // Appends frames 25 ms apart from `first` on, frame n's pixels all n,
    // on a thread of their own; false when they did not all get through.
    bool AppendFrames(std::uint8_t first, std::uint8_t count) {
        auto appended = std::async(std::launch::async, [&] {
            for (std::uint8_t n = first; n < first + count; ++n) {
                const std::vector<std::uint8_t> frame(12, n);
                recording.Append(2, 2, frame, std::int64_t{n} * 25);
            }
        });
        if (appended.wait_for(10s) == std::future_status::ready) return true;
        // Let the held close finish so the appends can end.
        files.Release();
        appended.wait();
        return false;
    }

    const fs::path folder = "recordings";
    Files files;
    RollingRecording recording;
};

TEST_F(RollingRecordingTest, FramesArrivingWhileAFileClosesGoToTheNextFile) {
    files.held = folder / "movie.avi";
    ASSERT_TRUE(recording.Open({2, 2, 40, 24, 0}));
    ASSERT_TRUE(AppendFrames(0, 2));
    // The third frame rolls the recording over; the first file is still
    // being closed while it and the next ones arrive.
    ASSERT_TRUE(AppendFrames(2, 4)) << "an append waited for the file before it to be closed";
    ASSERT_TRUE(files.WaitUntilCloseWaits());
    EXPECT_FALSE(files.Of(folder / "movie.avi").closed);
    EXPECT_EQ(files.Of(folder / "movie(1).avi").firstBytes, (std::vector<std::uint8_t>{2, 3}));
    EXPECT_EQ(files.Of(folder / "movie(1).avi").positions, (std::vector<std::uint32_t>{0, 1}))
        << "the next file's grid starts at the frame that rolled over";
    EXPECT_EQ(files.Of(folder / "movie(2).avi").firstBytes, (std::vector<std::uint8_t>{4, 5}));

    files.Release();
    EXPECT_TRUE(recording.Close());
    for (const char* name : {"movie.avi", "movie(1).avi", "movie(2).avi"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(files.Of(folder / name).closed);
    }
    EXPECT_EQ(files.Of(folder / "movie.avi").firstBytes, (std::vector<std::uint8_t>{0, 1}));
}

// Stopping waits for the file still being closed, so that every file of
// the recording is complete when the stop returns.
TEST_F(RollingRecordingTest, CloseWaitsForTheFilesRolledOver) {
    files.held = folder / "movie.avi";
    ASSERT_TRUE(recording.Open({2, 2, 40, 24, 0}));
    ASSERT_TRUE(AppendFrames(0, 3));
    ASSERT_TRUE(files.WaitUntilCloseWaits());

    auto closed = std::async(std::launch::async, [this] { return recording.Close(); });
    // The open file is finished at once; the stop then waits for the one
    // before it.
    {
        std::unique_lock<std::mutex> lock(files.mutex);
        ASSERT_TRUE(files.changed.wait_for(lock, 10s, [&] { return files.files[folder / "movie(1).avi"].closed; }));
    }
    EXPECT_NE(closed.wait_for(0s), std::future_status::ready);
    files.Release();
    EXPECT_TRUE(closed.get());
    EXPECT_TRUE(files.Of(folder / "movie.avi").closed);
}

// A file rolled over that could not be finished fails the stop, as the
// last one does.
TEST_F(RollingRecordingTest, AFileThatCannotBeFinishedFailsTheClose) {
    const fs::path cases[] = {folder / "movie.avi", folder / "movie(1).avi"};
    for (const fs::path& failing : cases) {
        SCOPED_TRACE(failing.string());
        files.failing = failing;
        recording.Name(folder / "movie.avi");
        ASSERT_TRUE(recording.Open({2, 2, 40, 24, 0}));
        ASSERT_TRUE(AppendFrames(0, 3));
        EXPECT_FALSE(recording.Close());
        // The next recording starts with nothing held against it.
        files.failing.clear();
        ASSERT_TRUE(recording.Open({2, 2, 40, 24, 0}));
        ASSERT_TRUE(AppendFrames(0, 3));
        EXPECT_TRUE(recording.Close());
    }
}

}  // namespace
}  // namespace kq::files
