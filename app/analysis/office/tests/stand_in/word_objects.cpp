// The word processor stand-in's object model.
#include "stand_in_server.h"

namespace {

class WordApplication final : public StandInObject {
public:
    WordApplication() : StandInObject("Application", {{0x17, "Visible"}, {0x451, "Quit"}}) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args&, VARIANT*) override {
        if (id == 0x17 && put) return S_OK;
        if (id == 0x451) {
            QuitRequested();
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

}  // namespace

StandInObject* CreateWordApplication() { return new WordApplication; }
