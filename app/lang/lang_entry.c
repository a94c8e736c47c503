/* Entry point of a language library: it holds only resources, so there is
   nothing to set up and no C runtime to start. */
#include <windows.h>

BOOL WINAPI LanguageLibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)module;
    (void)reason;
    (void)reserved;
    return TRUE;
}
