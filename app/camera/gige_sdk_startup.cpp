#include "gige_sdk_startup.h"

#include "camera_sdk_families.h"
#include "camera_sdk_flags.h"

int g_nGigECameraCount = 0;

bool IsGigESdkReady() { return IsGigESdkLoaded() && KQGE().KQGE_Initialize && KQGE().KQGE_GetCameraCount; }

void InitGigESdk() {
    if (KQGE().KQGE_Initialize() != 0) {
        return;
    }
    int32_t count = 0;
    if (KQGE().KQGE_GetCameraCount(&count) == 0) {
        g_nGigECameraCount = count;
    }
}

void ShutDownGigESdk() {
    if (IsGigESdkLoaded() && KQGE().KQGE_UnInitialize) {
        KQGE().KQGE_UnInitialize();
    }
}
