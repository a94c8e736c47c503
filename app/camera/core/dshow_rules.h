#pragma once
// Rules of the DirectShow camera that need no graph: the running object
// table's name for a graph, the frame time a recording asks for, the device
// and compressor names as listed, and the choices of the snapshot-settings
// and compressor dialogs. Platform-free.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// At most this many video input devices are listed, each name at most
// kDeviceNameChars characters (the slot holds one more for its end).
inline constexpr std::size_t kMaxVideoDevices = 10;
inline constexpr std::size_t kDeviceNameChars = 119;

// The running object table's display name of a graph: "FilterGraph", the
// graph's whole address (at least 8 hex digits) and the process id.
std::wstring GraphTableName(std::uint64_t graphAddress, std::uint32_t processId);

// A device's friendly name as its slot keeps it.
std::wstring ListedDeviceName(std::wstring_view friendlyName);

// The key of [TPF] holding the frames per second of captures `width` wide.
std::wstring FrameRateKey(int width);
// The frame time in 100 ns units a recording asks for at that many frames per
// second; 0 or fewer (a missing key) means 4 per second.
std::int64_t RecordingFrameDuration(int framesPerSecond);

// The first compressor (in the category's order) whose name contains `part`,
// case-sensitive; none when no name does or `part` is empty.
std::optional<std::size_t> FindCompressor(std::span<const std::wstring> names, std::wstring_view part);
// The compressor dialog's selection: the name equal to `stored`, else 0.
std::size_t CompressorSelection(std::span<const std::wstring> names, std::wstring_view stored);

struct ListedFormat {
    std::wstring label;  // "%d * %d"
    int width = 0;
    int height = 0;
};
std::wstring FormatLabel(int width, int height);

// The snapshot size stored for a request: the entry of exactly that size,
// else the running largest entry (one replaces it only when both sides are
// greater); none for an empty list.
std::optional<ListedFormat> ChooseSnapshotSize(std::span<const ListedFormat> list, const std::wstring& label, int width,
                                               int height);

// The snapshot dialog's choices: radio index for image type 1..3 and name
// type 0..1, -1 for anything else; the combo entry of that size, -1 for none.
int ImageTypeChoice(int imageType);
int NameTypeChoice(int nameType);
int SnapshotSizeChoice(std::span<const ListedFormat> list, int width, int height);
