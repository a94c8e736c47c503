#include "avi_player.h"

#include <memory>

#include "avi_player_window.h"

namespace {

std::unique_ptr<AviPlayerWindow>& Player() {
    static std::unique_ptr<AviPlayerWindow> player;
    return player;
}

}  // namespace

bool AVIPLAYER_InitializePlayer(HWND parent, std::wstring videoFolder, std::wstring pictureFolder) {
    auto& player = Player();
    if (!player) {
        auto made = std::make_unique<AviPlayerWindow>();
        if (!made->Create(parent)) {
            return false;
        }
        player = std::move(made);
    }
    player->SetFolders(std::move(videoFolder), std::move(pictureFolder));
    return true;
}

void AVIPLAYER_Play() {
    if (auto& player = Player()) {
        player->Show();
    }
}
