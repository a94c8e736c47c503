// Program entry: the camera libraries are loaded before the application
// object runs and freed after it is gone; the application object runs
// start-up, the message loop and exit.
#include <windows.h>

#include "camera_sdk_loaders.h"
#include "mikra_app.h"
#include "module_folder.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    const CCameraSdkLoaders cameraLibraries(GetModuleFolder());
    CMikraApp app;
    return app.Main(instance, commandLine);
}
