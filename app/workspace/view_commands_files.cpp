// The view's picture file commands (mikra_view_files.cpp).
#include "mikra_view.h"
#include "resource.h"

void RegisterFileCommands(CMikraView& view) {
    view.OnCommand(ID_FILE_LOAD_PICTURES, [&view] { view.OpenPictureFiles(); });
    view.OnCommand(ID_PICTURE_DELETE_FILE, [&view] { view.DeleteCurrentPicture(); });
    view.OnCommand(ID_FILE_SAVE_PICTURE, [&view] { view.SaveCurrentPicture(); });
    view.OnCommand(ID_FILE_SAVE_PICTURE_AS, [&view] { view.SaveCurrentPictureAs(); });
    view.OnCommand(ID_SAVE_DRAWING, [&view] { view.SaveDocument(); });
    view.OnCommand(ID_OPEN_DRAWING, [&view] { view.OpenDocument(); });
    // The File menu's Open, the main toolbar's button and Ctrl+O open a
    // drawing document, the program's one kind of document.
    view.OnCommand(ID_FILE_OPEN, [&view] { view.OpenDocument(); });
    view.OnCommand(ID_ASSOCIATE_DRAWINGS, [&view] { view.AssociateDocuments(true); });
    view.OnCommand(ID_REMOVE_DRAWING_ASSOCIATION, [&view] { view.AssociateDocuments(false); });
}
