// Every name any camera library exports, as an entry that logs its name and
// answers its scripted code. An export list maps a family's name here when
// the family's shape has no entry of its own for it. The entries take no
// arguments: on x64 the caller owns its argument area, so one body serves
// every shape.
#include <windows.h>

#include "double_library.h"
#include "sdk_double_names.h"

#define VZ_SDK_DOUBLE_PLAIN_ENTRY(name)               \
    extern "C" int WINAPI DoublePlain_##name() {      \
        DoubleLibrary::Instance().Log(#name);         \
        return DoubleLibrary::Instance().Code(#name); \
    }
VZ_SDK_DOUBLE_NAMES(VZ_SDK_DOUBLE_PLAIN_ENTRY)
