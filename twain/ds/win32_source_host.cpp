#include "win32_source_host.h"

#include "ctwain.h"
#include "unique_handle.h"

namespace twain::ds {
namespace {

using DsmEntryFunction = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);

// The source manager that loaded us: 64-bit Windows has TWAINDSM.DLL,
// others (and Wine) twain_32.dll. Never loaded by name here, which could
// bring in another copy.
DsmEntryFunction LoadedSourceManager() {
    for (const wchar_t* name : {L"TWAINDSM.DLL", L"twain_32.dll"}) {
        if (HMODULE module = GetModuleHandleW(name)) {
            if (FARPROC entry = GetProcAddress(module, "DSM_Entry")) {
                return reinterpret_cast<DsmEntryFunction>(reinterpret_cast<void*>(entry));
            }
        }
    }
    return nullptr;
}

}  // namespace

Win32SourceHost::~Win32SourceHost() {
    dialog_.reset();
    bridge_.reset();
}

bool Win32SourceHost::OpenDevice() {
    // Each connection starts with one frame per capture.
    frames_ = 1;
    bridge_ = CDeviceBridge::Create(instance_);
    return bridge_ != nullptr;
}

void Win32SourceHost::CloseDevice() {
    dialog_.reset();
    bridge_.reset();
}

bool Win32SourceHost::CreateSettingsDialog(TW_HANDLE parent, bool show) {
    if (!bridge_) return false;
    dialog_ =
        std::make_unique<CSettingsDialog>(instance_, static_cast<HWND>(parent), *bridge_, buttons_, show, frames_);
    if (dialog_->Handle() == nullptr) {
        dialog_.reset();
        return false;
    }
    return true;
}

void Win32SourceHost::DestroySettingsDialog() {
    if (dialog_) frames_ = dialog_->FrameCount();
    dialog_.reset();
}

bool Win32SourceHost::NotifyApplication(const TW_IDENTITY& own, const TW_IDENTITY& application, TW_UINT16 msg) {
    const DsmEntryFunction entry = LoadedSourceManager();
    if (entry == nullptr) return false;
    TW_IDENTITY origin = own;
    TW_IDENTITY destination = application;
    return entry(&origin, &destination, DG_CONTROL, DAT_NULL, msg, nullptr) == TWRC_SUCCESS;
}

bool Win32SourceHost::ProcessEvent(TW_MEMREF event) {
    auto* message = static_cast<MSG*>(event);
    if (message == nullptr || !dialog_ || dialog_->Handle() == nullptr) return false;
    if (IsDialogMessageA(dialog_->Handle(), message)) return true;
    HWND preview = dialog_->PreviewHandle();
    if (preview != nullptr && message->hwnd == preview) {
        TranslateMessage(message);
        DispatchMessageA(message);
        return true;
    }
    return false;
}

ImageShape Win32SourceHost::DeviceShape() {
    if (!bridge_) return {};
    CTWAIN& device = bridge_->Device();
    int width = 0;
    int height = 0;
    int bits = 0;
    if (device.GetParam(28, &width) == 0 || device.GetParam(29, &height) == 0 || device.GetParam(30, &bits) == 0) {
        return {};
    }
    return ImageShape{width, height, bits == 8 ? 8 : 24};
}

bool Win32SourceHost::GrabFrame(const ImageShape& shape, std::span<std::uint8_t> pixels) {
    if (!bridge_ || pixels.size() != ImageBytes(shape)) return false;
    TwainImageRecord record{};
    record.imageBytes = static_cast<std::int32_t>(pixels.size());
    record.bitsPerPixel = shape.bits;
    record.data = pixels.data();
    record.copyBytes = static_cast<std::int32_t>(pixels.size());
    record.outputBits = shape.bits;
    bridge_->Device().GetFrame(&record);
    // A size changed between the description and the grab would not match
    // what the application was told.
    return record.width == shape.width && record.height == shape.height;
}

int Win32SourceHost::FrameCount() { return dialog_ ? dialog_->FrameCount() : frames_; }

bool Win32SourceHost::CanCreateFile(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    UniqueKernelHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return probe.Get() != INVALID_HANDLE_VALUE;
}

bool Win32SourceHost::WriteFile(const std::string& path, std::span<const std::uint8_t> header,
                                std::span<const std::uint8_t> body) {
    HANDLE raw = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    UniqueKernelHandle file(raw);
    for (const auto part : {header, body}) {
        DWORD written = 0;
        if (!::WriteFile(file.Get(), part.data(), static_cast<DWORD>(part.size()), &written, nullptr) ||
            written != part.size()) {
            return false;
        }
    }
    return true;
}

void Win32SourceHost::Abandon() {
    // The dialog's procedure lives in this module, so its window goes; the
    // preview keeps running undrawn in the device library, which stays
    // loaded with its camera open.
    if (dialog_) dialog_->CloseWithoutWaiting();
    (void)dialog_.release();
    UnregisterClassW(L"PREVIEW", instance_);
    if (bridge_) bridge_->Abandon();
    bridge_.reset();
}

}  // namespace twain::ds
