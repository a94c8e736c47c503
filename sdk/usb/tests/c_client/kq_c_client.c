/* A plain C client of the simulated-camera build of KQCMOSu.dll, built as C
 * with only KQCMOSu.h and windows.h: loads the DLL by full path, opens
 * camera 1, checks its friendly name (the first argument), streams into a
 * real window until the frame callback has seen several different frames,
 * each showing the simulated scene's colour bars, then stops and closes.
 * Exit code 0 on success; every failure says what failed. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "KQCMOSu.h"

#define FRAMES_WANTED 5
#define FRAME_WAIT_MS 20000
#define WIDTH 640
#define HEIGHT 480

typedef int(KQAPI* INITIALIZE)(const wchar_t*, int*, KQ_CAPINFO*, HANDLE*);
typedef int(KQAPI* UNINITIALIZE)(HANDLE);
typedef int(KQAPI* GET_FRIENDLY_NAME)(HANDLE, wchar_t*);
typedef int(KQAPI* SET_FRAME_CALLBACK)(HANDLE, KQ_FRAME_CALLBACK, void*);
typedef int(KQAPI* START_VIEW)(HANDLE, const wchar_t*, unsigned int, int, int, int, int, HWND, void*);
typedef int(KQAPI* STOP_VIEW)(HANDLE);

/* What the callback saw, shared with the main thread under the lock. */
struct Frames {
    CRITICAL_SECTION lock;
    HANDLE enough; /* manual-reset event, set at FRAMES_WANTED */
    int count;
    int changes; /* frames that differ from the one before */
    int barred;  /* frames that show a red and a blue bar */
    unsigned char last[64];
};

/* Pixels of the middle row of a 24-bit bottom-up picture (blue, green, red)
 * in which `bright` clearly outshines the other two channels. */
static int PixelsOf(const unsigned char* frame, int bright) {
    const unsigned char* p = frame + 3 * (HEIGHT / 2) * WIDTH;
    int n = 0;
    int x;
    for (x = 0; x < WIDTH; ++x, p += 3) {
        if (p[bright] >= 100 && p[(bright + 1) % 3] <= 60 && p[(bright + 2) % 3] <= 60) ++n;
    }
    return n;
}

static int KQAPI OnFrame(unsigned char* frame, int unused, void* context) {
    struct Frames* frames = (struct Frames*)context;
    (void)unused;
    EnterCriticalSection(&frames->lock);
    if (frames->count > 0 && memcmp(frames->last, frame, sizeof frames->last) != 0) ++frames->changes;
    memcpy(frames->last, frame, sizeof frames->last);
    /* The bars are WIDTH / 8 wide and pass through the middle row. */
    if (PixelsOf(frame, 2) >= WIDTH / 16 && PixelsOf(frame, 0) >= WIDTH / 16) ++frames->barred;
    if (++frames->count == FRAMES_WANTED) SetEvent(frames->enough);
    LeaveCriticalSection(&frames->lock);
    return 0;
}

static int Fail(const char* what, int status) {
    printf("kq_c_client: %s (status %d)\n", what, status);
    return 1;
}

/* Waits for the event while the window's messages are dispatched, as any
 * program with a window does; WAIT_TIMEOUT after limitMs. */
static DWORD WaitPumping(HANDLE event, DWORD limitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD woke;
        MSG message;
        if (elapsed >= limitMs) return WAIT_TIMEOUT;
        woke = MsgWaitForMultipleObjects(1, &event, FALSE, limitMs - elapsed, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) return woke;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

/* Any exported function; each caller casts it to its own type. */
typedef void (*ANY_FUNCTION)(void);

static ANY_FUNCTION Export(HMODULE module, const char* name) {
    ANY_FUNCTION f = (ANY_FUNCTION)GetProcAddress(module, name);
    if (f == NULL) printf("kq_c_client: KQCMOSu.dll does not export %s\n", name);
    return f;
}

/* Opens camera 1, streams into the window and checks the frames. */
static int Stream(HMODULE module, HWND window, const char* expectedName) {
    INITIALIZE initialize = (INITIALIZE)Export(module, "KQ_Initialize");
    UNINITIALIZE uninitialize = (UNINITIALIZE)Export(module, "KQ_Uninitialize");
    GET_FRIENDLY_NAME friendlyName = (GET_FRIENDLY_NAME)Export(module, "KQ_GetFriendlyName");
    SET_FRAME_CALLBACK setCallback = (SET_FRAME_CALLBACK)Export(module, "KQ_SetFrameCallBack");
    START_VIEW startView = (START_VIEW)Export(module, "KQ_StartView");
    STOP_VIEW stopView = (STOP_VIEW)Export(module, "KQ_StopView");
    struct Frames frames;
    KQ_CAPINFO record;
    HANDLE camera = NULL;
    int position = 1;
    int status;
    int result = 0;
    DWORD waited;
    wchar_t name[256];
    wchar_t expected[256];

    if (!initialize || !uninitialize || !friendlyName || !setCallback || !startView || !stopView) return 1;

    memset(&record, 0, sizeof record);
    record.width = WIDTH;
    record.height = HEIGHT;
    record.exposure = 100;
    record.gain[0] = record.gain[1] = record.gain[2] = 32;
    status = initialize(L"kq_c_client", &position, &record, &camera);
    if (status != 0 || camera == NULL) return Fail("KQ_Initialize of camera 1 failed", status);

    memset(name, 0, sizeof name);
    MultiByteToWideChar(CP_UTF8, 0, expectedName, -1, expected, 256);
    status = friendlyName(camera, name);
    if (status != 0 || wcscmp(name, expected) != 0) {
        printf("kq_c_client: camera 1 is \"%ls\", expected \"%ls\"\n", name, expected);
        uninitialize(camera);
        return 1;
    }

    memset(&frames, 0, sizeof frames);
    InitializeCriticalSection(&frames.lock);
    frames.enough = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (frames.enough == NULL) {
        result = Fail("CreateEvent failed", (int)GetLastError());
    } else if ((status = setCallback(camera, OnFrame, &frames)) != 0) {
        result = Fail("KQ_SetFrameCallBack failed", status);
    } else if ((status = startView(camera, L"kq_c_client", 0, 0, 0, WIDTH, HEIGHT, window, NULL)) != 0) {
        result = Fail("KQ_StartView failed", status);
    } else {
        waited = WaitPumping(frames.enough, FRAME_WAIT_MS);
        status = stopView(camera);
        EnterCriticalSection(&frames.lock);
        if (waited != WAIT_OBJECT_0) {
            printf("kq_c_client: %d of %d frames within %d ms\n", frames.count, FRAMES_WANTED, FRAME_WAIT_MS);
            result = 1;
        } else if (frames.changes < FRAMES_WANTED - 1) {
            printf("kq_c_client: only %d of %d frames differ from the one before\n", frames.changes, frames.count - 1);
            result = 1;
        } else if (frames.barred < frames.count) {
            printf("kq_c_client: only %d of %d frames show a red and a blue bar\n", frames.barred, frames.count);
            result = 1;
        } else if (status != 0) {
            result = Fail("KQ_StopView failed", status);
        } else {
            printf("kq_c_client: \"%ls\" streamed %d changing frames\n", name, frames.count);
        }
        LeaveCriticalSection(&frames.lock);
    }
    status = uninitialize(camera);
    if (status != 0 && result == 0) result = Fail("KQ_Uninitialize failed", status);
    if (frames.enough != NULL) CloseHandle(frames.enough);
    DeleteCriticalSection(&frames.lock);
    return result;
}

int main(int argc, char** argv) {
    wchar_t path[MAX_PATH] = KQSIM_DLL_PATH;
    wchar_t* c;
    HMODULE module;
    HWND window;
    WNDCLASSW wc;
    int result;

    if (argc != 2) {
        printf("usage: kq_c_client_test \"friendly name of camera 1\"\n");
        return 2;
    }
    for (c = path; *c != 0; ++c) {
        if (*c == L'/') *c = L'\\';
    }
    module = LoadLibraryW(path);
    if (module == NULL) {
        printf("kq_c_client: cannot load %ls (error %lu)\n", path, GetLastError());
        return 1;
    }

    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"KqCClientWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, wc.lpszClassName, L"kq_c_client", WS_POPUP | WS_VISIBLE, 0, 0, WIDTH, HEIGHT, NULL,
                             NULL, wc.hInstance, NULL);
    if (window == NULL) {
        printf("kq_c_client: CreateWindow failed (error %lu)\n", GetLastError());
        FreeLibrary(module);
        return 1;
    }
    result = Stream(module, window, argv[1]);
    DestroyWindow(window);
    FreeLibrary(module);
    return result;
}
