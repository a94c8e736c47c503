// Runs the program's camera-library loaders from its own folder, as Mikra
// does at start, and writes what they bound to "binding_report.txt" there:
//   <library> loaded <0|1> bound <count> unbound <names...>
//   offered <camera kinds the view would offer>
//   calls Initialize <code> SetHDR <code>      (through the CCD entries, device 1,
//                                                then closed)
// With the argument "second" it also loads "second\KQCCDu.dll" for the CCD
// family while the first is held, and reports:
//   second load <0|1> keeps <0|1>
// The loaders are freed when main returns, which the library doubles log.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <span>
#include <string>

#include "bound_call.h"
#include "camera_factory.h"
#include "camera_sdk_flags.h"
#include "camera_sdk_loaders.h"
#include "module_folder.h"

namespace {
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void ReportFamily(std::ofstream& out, const wchar_t* fileName, int loaded, std::span<const CameraSdkExport> table) {
    int bound = 0;
    std::string unbound;
    for (const CameraSdkExport& entry : table) {
        if (entry.isBound()) {
            ++bound;
        } else {
            unbound += ' ';
            unbound += entry.name;
        }
    }
    out << Narrow(fileName) << " loaded " << loaded << " bound " << bound << " unbound" << unbound << "\n";
}
}  // namespace

int main(int argc, char** argv) {
    const std::wstring folder = GetModuleFolder();
    const CCameraSdkLoaders loaders(folder);
    std::ofstream out(Narrow(folder) + "binding_report.txt", std::ios::binary);

    ReportFamily(out, CCCDSdkBinding::kFileName, IsCameraFamilyLoaded(CameraFamily::ccd), CCCDSdkBinding::Exports());
    ReportFamily(out, CCMOSSdkBinding::kFileName, IsCameraFamilyLoaded(CameraFamily::usbCmos),
                 CCMOSSdkBinding::Exports());
    ReportFamily(out, CGigESdkBinding::kFileName, IsCameraFamilyLoaded(CameraFamily::gigE), CGigESdkBinding::Exports());
    ReportFamily(out, CUVCSdkBinding::kFileName, IsCameraFamilyLoaded(CameraFamily::uvc), CUVCSdkBinding::Exports());

    out << "offered";
    for (CameraFamily kind :
         {CameraFamily::directShow, CameraFamily::usbCmos, CameraFamily::ccd, CameraFamily::gigE, CameraFamily::uvc}) {
        if (IsCameraFamilyLoaded(kind)) {
            out << ' ' << static_cast<int>(kind);
        }
    }
    out << "\n";

    HANDLE handle = nullptr;
    int number = 1;
    KQ_CAPINFO capInfo{};
    out << "calls Initialize "
        << CallBound(KQCCD().KQ_Initialize, kUnboundEntryFailure, L"KQ_DEMO", &number, &capInfo, &handle);
    out << " SetHDR " << CallBound(KQCCD().KQ_SetHDR, kUnboundEntryFailure, handle, 1) << "\n";
    if (handle) {
        CallBound(KQCCD().KQ_Uninitialize, kUnboundEntryFailure, handle);
    }

    if (argc > 1 && std::strcmp(argv[1], "second") == 0) {
        const auto firstSetHdr = KQCCD().KQ_SetHDR;
        int secondLoad = 0;
        {
            CCCDSdkBinding second(folder + L"second\\" + CCCDSdkBinding::kFileName);
            secondLoad = second.Load(folder + L"second\\" + CCCDSdkBinding::kFileName);
        }
        const bool keeps = IsCCDSdkLoaded() && KQCCD().KQ_SetHDR == firstSetHdr;
        out << "second load " << secondLoad << " keeps " << (keeps ? 1 : 0) << "\n";
    }
    return 0;
}
