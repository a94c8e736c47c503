#include "control_cursors.h"

#include <map>
#include <utility>

#include "resource_module.h"
#include "unique_handle.h"

HCURSOR ControlCursor(int id) {
    using UniqueCursor = UniqueHandle<HCURSOR, &DestroyCursor>;
    static std::map<std::pair<HINSTANCE, int>, UniqueCursor> loaded;
    const HINSTANCE module = GetResourceModule();
    auto [it, added] = loaded.try_emplace({module, id});
    if (added) {
        it->second.Reset(
            static_cast<HCURSOR>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    }
    return it->second ? it->second.Get() : LoadCursorW(nullptr, IDC_ARROW);
}
