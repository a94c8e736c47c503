// Crop and the AVI player, on the picture side of the view: neither acts
// while video runs. The player gets the view's window and the frame's video
// and picture folders, so a frame it saves lands beside the snapshots.
#include "avi_player.h"
#include "mikra_view.h"
#include "resource.h"

void RegisterPictureToolCommands(CMikraView& view) {
    view.OnCommand(ID_PICTURE_CROP, [&view] {
        if (view.IsVideoActive()) {
            return;
        }
        view.m_current->ToggleCropMode();
    });
    view.OnCommand(ID_TOOLS_MOVIE_PLAYER, [&view] {
        if (view.IsVideoActive() || view.m_frame == nullptr) {
            return;
        }
        if (AVIPLAYER_InitializePlayer(view.m_hWnd, view.m_frame->GetVideoFolder(), view.m_frame->GetPictureFolder())) {
            AVIPLAYER_Play();
        }
    });
}
