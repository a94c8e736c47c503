#pragma once
// A data source core over the fakes, with an application identity and
// helpers that walk it to each state.

#include <gtest/gtest.h>

#include <cstring>

#include "source_fakes.h"
#include "twain_source.h"

namespace twain::test {

class SourceFixture : public ::testing::Test {
protected:
    TW_UINT16 Call(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
        return source.Entry(&app, dg, dat, msg, data);
    }
    TW_UINT16 Status() {
        TW_STATUS status{0xFFFF, 0xFFFF};
        EXPECT_EQ(Call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
        return status.ConditionCode;
    }
    void Open() {
        TW_IDENTITY identity = source.Identity();
        ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
    }
    void Enable(bool show) {
        TW_USERINTERFACE ui{static_cast<TW_BOOL>(show ? 1 : 0), 0, nullptr};
        ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
    }
    TW_UINT16 EndTransfer(TW_UINT16* count = nullptr) {
        TW_PENDINGXFERS pending{};
        const TW_UINT16 rc = Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        if (count != nullptr) *count = pending.Count;
        return rc;
    }
    TW_HANDLE NativeTransfer() {
        TW_HANDLE handle = nullptr;
        EXPECT_EQ(Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
        return handle;
    }
    // Walks a fresh source to state (3 to 7) through the shown dialog.
    void ReachState(int state) {
        if (state >= 4) Open();
        if (state >= 5) Enable(true);
        if (state >= 6) source.OnCaptureButton();
        if (state >= 7) NativeTransfer();
        ASSERT_EQ(source.State(), state);
    }

    FakeHost host;
    TableMemory memory;
    CTwainSource source{host, memory, SourceStrings{}};
    TW_IDENTITY app = ApplicationIdentity("First application");
};

}  // namespace twain::test
