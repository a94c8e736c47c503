#include "double_library.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "double_view.h"

namespace {
std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}
}  // namespace

std::string Narrow(const wchar_t* text) {
    if (!text) {
        return "null";
    }
    std::string narrow;
    for (; *text; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

DoubleLibrary& DoubleLibrary::Instance() {
    static DoubleLibrary library;
    return library;
}

void DoubleLibrary::SetModule(HMODULE module) { m_module = module; }

std::wstring DoubleLibrary::Folder() const {
    const std::wstring path = ModulePath(m_module);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

void DoubleLibrary::Log(const std::string& text) {
    const std::wstring path = ModulePath(m_module);
    const std::wstring fileName = path.substr(path.find_last_of(L'\\') + 1);
    const std::string line = Narrow(fileName.c_str()) + " " + text + "\r\n";
    std::lock_guard lock(m_logMutex);
    HANDLE file = CreateFileW((Folder() + L"sdk_calls.log").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void DoubleLibrary::LoadScriptLocked() {
    if (m_scriptRead) {
        return;
    }
    m_scriptRead = true;
    std::ifstream in(std::filesystem::path(Folder() + L"sdk_script.txt"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    m_script.Parse(text.str());
}

int DoubleLibrary::Code(const char* entry) { return Script().Int(std::string("return.") + entry, 0); }

DoubleScript DoubleLibrary::Script() {
    std::lock_guard lock(m_mutex);
    LoadScriptLocked();
    return m_script;
}

void DoubleLibrary::ReplaceScript(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_scriptRead = true;
    m_script.Parse(text);
}

void DoubleLibrary::SetFirstNumber(int first) {
    std::lock_guard lock(m_mutex);
    m_firstNumber = first;
}

int DoubleLibrary::FirstNumber() {
    std::lock_guard lock(m_mutex);
    return m_firstNumber;
}

int DoubleLibrary::DeviceCount() { return Script().Int("devices", 1); }

bool DoubleLibrary::IsDeviceNumber(int number) {
    const int first = FirstNumber();
    return number >= first && number < first + DeviceCount();
}

HANDLE DoubleLibrary::Open(int number) {
    std::unique_ptr<DoubleView> stopped;
    HANDLE handle = nullptr;
    {
        std::lock_guard lock(m_mutex);
        for (auto& device : m_devices) {
            if (device->number == number && device->view) {
                stopped = std::move(device->view);
            }
        }
        auto device = std::make_unique<DoubleDevice>();
        device->number = number;
        device->handle = reinterpret_cast<HANDLE>(m_nextHandle);
        m_nextHandle += 0x10;
        handle = device->handle;
        m_devices.push_back(std::move(device));
    }
    if (stopped) {
        stopped.reset();
        Log("view stopped by a second open of " + std::to_string(number));
    }
    return handle;
}

void DoubleLibrary::Close(HANDLE handle) {
    std::unique_ptr<DoubleDevice> closed;
    {
        std::lock_guard lock(m_mutex);
        const auto found = std::find_if(m_devices.begin(), m_devices.end(),
                                        [&](const auto& device) { return device->handle == handle; });
        if (found == m_devices.end()) {
            return;
        }
        closed = std::move(*found);
        m_devices.erase(found);
    }
    // Joins its view and completions outside the lock, which they take.
    closed->view.reset();
    for (HANDLE thread : closed->completions) {
        WaitForSingleObject(thread, INFINITE);
    }
}

std::string DoubleLibrary::NameOf(HANDLE handle) {
    if (!handle) {
        return "null";
    }
    std::lock_guard lock(m_mutex);
    const DoubleDevice* device = Find(handle);
    return device ? "h" + std::to_string(device->number) : "h?";
}

DoubleDevice* DoubleLibrary::Find(HANDLE handle) {
    for (auto& device : m_devices) {
        if (device->handle == handle) {
            return device.get();
        }
    }
    return nullptr;
}

bool DoubleLibrary::StartView(HANDLE handle) {
    const int frames = Script().Int("frames", 1);
    std::unique_ptr<DoubleView> replaced;
    {
        std::lock_guard lock(m_mutex);
        DoubleDevice* device = Find(handle);
        if (!device) {
            return false;
        }
        replaced = std::move(device->view);
    }
    replaced.reset();
    auto view = std::make_unique<DoubleView>(*this, handle, frames);
    std::lock_guard lock(m_mutex);
    DoubleDevice* device = Find(handle);
    if (!device) {
        return false;
    }
    device->view = std::move(view);
    return true;
}

bool DoubleLibrary::StopView(HANDLE handle) {
    std::unique_ptr<DoubleView> stopped;
    {
        std::lock_guard lock(m_mutex);
        DoubleDevice* device = Find(handle);
        if (!device) {
            return false;
        }
        stopped = std::move(device->view);
    }
    return true;
}

int DoubleLibrary::DeliverFrames(int count) {
    std::lock_guard lock(m_mutex);
    int asked = 0;
    for (auto& device : m_devices) {
        if (device->view) {
            device->view->Deliver(count);
            ++asked;
        }
    }
    return asked;
}

bool DoubleLibrary::FrameSetup(HANDLE handle, DoubleFrameFormat& format, DoubleFrameCallback& callback,
                               DoubleInfoFrameCallback& infoCallback, void*& context) {
    std::lock_guard lock(m_mutex);
    const DoubleDevice* device = Find(handle);
    if (!device) {
        return false;
    }
    format = device->format;
    callback = device->callback;
    infoCallback = device->infoCallback;
    context = device->context;
    return true;
}

void DoubleLibrary::FrameDelivered(const std::vector<std::uint8_t>& frame, const DoubleFrameFormat& format,
                                   bool overran) {
    if (overran) {
        Log("overrun " + std::to_string(format.width) + "x" + std::to_string(format.height) + "x" +
            std::to_string(format.bitsPerPixel));
    }
    std::lock_guard lock(m_mutex);
    m_lastFrame = frame;
    m_lastFormat = format;
    ++m_framesDelivered;
    m_changed.notify_all();
}

int DoubleLibrary::WaitFrames(int total, DWORD timeoutMs) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_framesDelivered >= total; });
    return m_framesDelivered;
}

int DoubleLibrary::CopyLastFrame(std::uint8_t* out, int capacity, int* width, int* height, int* bits) {
    std::lock_guard lock(m_mutex);
    if (m_framesDelivered == 0 || !out || capacity < static_cast<int>(m_lastFrame.size())) {
        return 0;
    }
    std::copy(m_lastFrame.begin(), m_lastFrame.end(), out);
    *width = m_lastFormat.width;
    *height = m_lastFormat.height;
    *bits = m_lastFormat.bitsPerPixel;
    return static_cast<int>(m_lastFrame.size());
}

namespace {
struct CompletionCall {
    DoubleCompletion completion;
    void* context;
    HMODULE pin;
};

DWORD WINAPI RunCompletion(void* parameter) {
    const CompletionCall call = *static_cast<CompletionCall*>(parameter);
    delete static_cast<CompletionCall*>(parameter);
    call.completion(0, 0, call.context);
    FreeLibraryAndExitThread(call.pin, 0);
}
}  // namespace

void DoubleLibrary::Complete(HANDLE device, DoubleCompletion completion, void* context) {
    HMODULE pin = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunCompletion), &pin);
    auto* call = new CompletionCall{completion, context, pin};
    HANDLE thread = CreateThread(nullptr, 0, RunCompletion, call, 0, nullptr);
    if (!thread) {
        delete call;
        FreeLibrary(pin);
        return;
    }
    std::lock_guard lock(m_mutex);
    m_completionThreads.push_back(thread);
    if (DoubleDevice* open = Find(device)) {
        open->completions.push_back(thread);
    }
}

int DoubleLibrary::WaitCompletions(int total, DWORD timeoutMs) {
    std::vector<HANDLE> threads;
    {
        std::lock_guard lock(m_mutex);
        threads = m_completionThreads;
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    int done = 0;
    for (HANDLE thread : threads) {
        const ULONGLONG now = GetTickCount64();
        const DWORD wait = done < total && now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(thread, wait) == WAIT_OBJECT_0) {
            ++done;
        }
    }
    return done;
}

void DoubleLibrary::Shutdown() {
    std::vector<std::unique_ptr<DoubleDevice>> devices;
    std::vector<HANDLE> threads;
    {
        std::lock_guard lock(m_mutex);
        devices.swap(m_devices);
        threads.swap(m_completionThreads);
    }
    for (const auto& device : devices) {
        Log("left open h" + std::to_string(device->number));
    }
    devices.clear();
    for (HANDLE thread : threads) {
        CloseHandle(thread);
    }
}
