#include "startup_loading.h"

#include "loading_thread.h"

namespace {
// How long the loading thread may take to show its dialog.
constexpr DWORD kLoadingDialogTimeoutMs = 30000;
}  // namespace

void RunStartupLoading(const StartupLoading& loading) {
    const bool hasPictures = !loading.pictures.empty();
    const bool hasFiles = !loading.files.empty();
    if (!hasPictures && !hasFiles) {
        return;
    }
    CUIThread thread(hasPictures, hasFiles);
    if (!thread.Start() || !thread.WaitForDialog(kLoadingDialogTimeoutMs) || !thread.WaitForChoice() ||
        thread.IsCancelled()) {
        return;
    }
    const bool loadPictures = thread.GetDialog().LoadsPictures();
    const bool loadFiles = thread.GetDialog().LoadsFiles();
    const int total = (loadPictures ? static_cast<int>(loading.pictures.size()) : 0) +
                      (loadFiles ? static_cast<int>(loading.files.size()) : 0);
    thread.SetProgress(0, total);
    if (loadPictures) {
        for (auto path = loading.pictures.rbegin(); path != loading.pictures.rend(); ++path) {
            if (thread.IsCancelled()) {
                return;
            }
            thread.StepProgress();
            loading.openPicture(*path);
        }
    }
    if (loadFiles) {
        thread.GetDialog().SetPhaseText();
        for (auto path = loading.files.rbegin(); path != loading.files.rend(); ++path) {
            if (thread.IsCancelled()) {
                return;
            }
            thread.StepProgress();
            loading.addFile(*path);
        }
    }
}
