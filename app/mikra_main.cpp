// Program entry: the application object runs start-up, the message loop and exit.
#include <windows.h>

#include "mikra_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    CMikraApp app;
    return app.Main(instance, commandLine);
}
