#pragma once
// Where the view's background picture goes: centred in the client area,
// shrunk to fit but never enlarged.

struct BackgroundPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Scale min(client width / picture width, client height / picture height, 1);
// a picture without pixels is not placed (all zero).
BackgroundPlacement PlaceBackgroundPicture(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight);
