// States, dispatch and the control triplets of the data source core.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "source_test_fixture.h"

namespace twain {
namespace {

using test::ApplicationIdentity;
using test::SourceFixture;

class Source : public SourceFixture {};

TEST_F(Source, IdentityNamesTheFamilyProtocolAndGroups) {
    TW_IDENTITY identity{};
    ASSERT_EQ(source.Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity), TWRC_SUCCESS);
    EXPECT_STREQ(identity.ProductFamily, "Vizcam_TWAIN");
    EXPECT_EQ(identity.ProtocolMajor, 1);
    EXPECT_EQ(identity.ProtocolMinor, 8);
    EXPECT_EQ(+identity.SupportedGroups, DG_CONTROL | DG_IMAGE);
    EXPECT_EQ(identity.Version.Language, 86);
    EXPECT_EQ(identity.Version.MajorNum, 1);
}

TEST_F(Source, OpensClosesAndReopensWithIdZero) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TW_IDENTITY identity = source.Identity();
        identity.Id = 0;  // what the source manager here assigns
        ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
        EXPECT_TRUE(source.Connected());
        EXPECT_EQ(source.State(), 4);
        // Connected with Id 0: the application's next triplet is served.
        TW_UINT32 group = 0;
        EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, MSG_GET, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
        EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
        EXPECT_FALSE(source.Connected());
        EXPECT_EQ(source.State(), 3);
    }
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "close", "open", "close"}));
}

TEST_F(Source, ASecondOpenIsRefusedAndTheFirstConnectionStays) {
    Open();
    Enable(true);
    TW_IDENTITY identity = source.Identity();
    // The connected application again: out of sequence.
    EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_SEQERROR);
    // Another application, though it has the same Id: too many connections.
    const TW_IDENTITY other = ApplicationIdentity("Second application");
    EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    TW_STATUS status{};
    EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
    EXPECT_EQ(status.ConditionCode, TWCC_MAXCONNECTIONS);
    // Nothing else of the other application is served or changes state.
    TW_IDENTITY closing = source.Identity();
    EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &closing), TWRC_FAILURE);
    EXPECT_EQ(source.Entry(&other, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(source.Entry(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &closing), TWRC_FAILURE);
    EXPECT_EQ(source.State(), 5);
    EXPECT_TRUE(source.Connected());
    EXPECT_EQ(Status(), TWCC_SUCCESS);  // the first application's code untouched
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "dialog shown"}));
}

TEST_F(Source, AFailedDeviceOpenStaysInStateThree) {
    host.openSucceeds = false;
    TW_IDENTITY identity = source.Identity();
    EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_SEQERROR);
    EXPECT_EQ(source.State(), 3);
    EXPECT_FALSE(source.Connected());
    // Another application may open afterwards.
    host.openSucceeds = true;
    app = ApplicationIdentity("Later application");
    Open();
    EXPECT_EQ(source.State(), 4);
}

// Every triplet outside its states fails with TWCC_SEQERROR and changes
// nothing: neither the state nor the device, dialog or pending count.
TEST_F(Source, TripletsInWrongStatesChangeNothing) {
    struct Row {
        TW_UINT32 dg;
        TW_UINT16 dat;
        TW_UINT16 msg;
        std::vector<int> allowed;
    };
    const std::vector<Row> rows = {
        {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, {3}},
        {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, {4, 5, 6, 7}},
        {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, {4}},
        {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, {5, 6, 7}},
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, {4, 5, 6, 7}},
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, {7}},
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, {6, 7}},
        {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, {4, 5, 6}},
        {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, {4, 5, 6}},
        {DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, {4, 5, 6}},
        {DG_IMAGE, DAT_IMAGEINFO, MSG_GET, {6, 7}},
        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, {6}},
        {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, {6}},
        {DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, {6}},
        {DG_IMAGE, DAT_PALETTE8, MSG_GET, {4, 5, 6}},
    };
    for (const Row& row : rows) {
        for (int state = 3; state <= 7; ++state) {
            if (std::find(row.allowed.begin(), row.allowed.end(), state) != row.allowed.end()) continue;
            SCOPED_TRACE(testing::Message() << "dat " << row.dat << " msg " << row.msg << " state " << state);
            test::FakeHost freshHost;
            test::TableMemory freshMemory;
            CTwainSource fresh(freshHost, freshMemory, SourceStrings{});
            const auto call = [&](TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
                return fresh.Entry(&app, dg, dat, msg, data);
            };
            freshHost.frameCount = 2;
            TW_IDENTITY identity = fresh.Identity();
            if (state >= 4) ASSERT_EQ(call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);
            TW_USERINTERFACE ui{1, 0, nullptr};
            if (state >= 5) ASSERT_EQ(call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
            if (state >= 6) fresh.OnCaptureButton();
            TW_HANDLE dib = nullptr;
            if (state >= 7) ASSERT_EQ(call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib), TWRC_XFERDONE);
            ASSERT_EQ(fresh.State(), state);
            const auto callsBefore = freshHost.calls;
            const int pendingBefore = fresh.PendingTransfers();
            const int grabsBefore = freshHost.framesGrabbed;

            // Data big enough for any of them, with a valid file name and buffer.
            std::vector<std::uint8_t> buffer(4096);
            alignas(8) std::uint8_t data[512] = {};
            std::memcpy(data, &identity, sizeof identity);
            if (row.dat == DAT_SETUPFILEXFER) {
                auto* setup = reinterpret_cast<TW_SETUPFILEXFER*>(data);
                std::strcpy(setup->FileName, "out.bmp");
                setup->Format = TWFF_BMP;
            }
            if (row.dat == DAT_IMAGEMEMXFER) {
                auto* xfer = reinterpret_cast<TW_IMAGEMEMXFER*>(data);
                xfer->Memory =
                    TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
            }
            if (row.dat == DAT_USERINTERFACE) std::memcpy(data, &ui, sizeof ui);
            EXPECT_EQ(call(row.dg, row.dat, row.msg, data), TWRC_FAILURE);
            TW_STATUS status{};
            EXPECT_EQ(call(DG_CONTROL, DAT_STATUS, MSG_GET, &status), TWRC_SUCCESS);
            EXPECT_EQ(status.ConditionCode, TWCC_SEQERROR);
            EXPECT_EQ(fresh.State(), state);
            EXPECT_EQ(fresh.Connected(), state >= 4);
            EXPECT_EQ(freshHost.calls, callsBefore);
            EXPECT_EQ(fresh.PendingTransfers(), pendingBefore);
            EXPECT_EQ(freshHost.framesGrabbed, grabsBefore);
            EXPECT_TRUE(freshHost.files.empty());
            if (dib != nullptr) freshMemory.Free(dib);
        }
    }
}

TEST_F(Source, StatusReportsAFailureOnce) {
    EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_SEQERROR);
    EXPECT_EQ(Status(), TWCC_SUCCESS);
    EXPECT_EQ(Call(DG_CONTROL, 0x0777, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
    EXPECT_EQ(Call(7, DAT_IMAGEINFO, MSG_GET, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
    EXPECT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADPROTOCOL);
}

TEST_F(Source, NullDataIsABadValueNotACrash) {
    ReachState(6);
    for (const auto& [dg, dat, msg] : std::vector<std::tuple<TW_UINT32, TW_UINT16, TW_UINT16>>{
             {DG_CONTROL, DAT_CAPABILITY, MSG_GET},
             {DG_CONTROL, DAT_PENDINGXFERS, MSG_GET},
             {DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET},
             {DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET},
             {DG_CONTROL, DAT_XFERGROUP, MSG_GET},
             {DG_IMAGE, DAT_IMAGEINFO, MSG_GET},
             {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET},
             {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},
             {DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET},
             {DG_IMAGE, DAT_PALETTE8, MSG_GET},
         }) {
        SCOPED_TRACE(dat);
        EXPECT_EQ(Call(dg, dat, msg, nullptr), TWRC_FAILURE);
        EXPECT_EQ(Status(), TWCC_BADVALUE);
        EXPECT_EQ(source.State(), 6);
    }
    EXPECT_EQ(source.Entry(&app, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, nullptr), TWRC_NOTDSEVENT);
}

TEST_F(Source, ShowUIFalseAnnouncesATransferBeforeReturning) {
    Open();
    host.frameCount = 4;
    Enable(false);
    EXPECT_EQ(host.notifications, (std::vector<TW_UINT16>{MSG_XFERREADY}));
    EXPECT_EQ(source.State(), 6);
    EXPECT_EQ(source.PendingTransfers(), 4);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "dialog hidden"}));
}

TEST_F(Source, DialogButtonsNotifyTheApplication) {
    ReachState(5);
    host.frameCount = 5;
    source.OnCaptureButton();
    EXPECT_EQ(source.State(), 6);
    EXPECT_EQ(source.PendingTransfers(), 5);
    source.OnCaptureButton();  // already announced: nothing again
    source.OnExitButton();
    EXPECT_EQ(host.notifications, (std::vector<TW_UINT16>{MSG_XFERREADY, MSG_CLOSEDSREQ}));
}

TEST_F(Source, ProcessEventHandsDialogMessagesToTheDialog) {
    int dialogMessage = 0;
    int otherMessage = 0;
    host.dialogEvent = &dialogMessage;
    TW_EVENT event{&otherMessage, 0x1234};
    EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    ReachState(5);
    EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_NOTDSEVENT);
    EXPECT_EQ(event.TWMessage, 0x1234);
    event.pEvent = &dialogMessage;
    EXPECT_EQ(Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    EXPECT_EQ(event.TWMessage, MSG_NULL);
    EXPECT_EQ(source.State(), 5);
}

TEST_F(Source, DisableThenEnableAgainKeepsTheDevice) {
    ReachState(5);
    ASSERT_EQ(Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, nullptr), TWRC_SUCCESS);
    EXPECT_EQ(source.State(), 4);
    Enable(true);
    source.OnCaptureButton();
    TW_HANDLE dib = NativeTransfer();
    EXPECT_NE(dib, nullptr);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "dialog shown", "dialog destroyed", "dialog shown"}));
}

TEST_F(Source, ClosingFromStatesFiveToSevenDestroysTheDialogBeforeTheDevice) {
    for (int state = 4; state <= 7; ++state) {
        SCOPED_TRACE(state);
        host.calls.clear();
        ReachState(state);
        TW_IDENTITY identity = source.Identity();
        ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
        EXPECT_EQ(source.State(), 3);
        EXPECT_EQ(source.PendingTransfers(), 0);
        std::vector<std::string> expected{"open"};
        if (state >= 5) expected.push_back("dialog shown");
        if (state >= 5) expected.push_back("dialog destroyed");
        expected.push_back("close");
        EXPECT_EQ(host.calls, expected);
    }
}

TEST_F(Source, XferGroupIsImage) {
    TW_UINT32 group = 0;
    for (TW_UINT16 msg : {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET}) {
        group = 0;
        EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, msg, &group), TWRC_SUCCESS);
        EXPECT_EQ(group, DG_IMAGE);
    }
    EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, MSG_SET, &group), TWRC_SUCCESS);
    EXPECT_EQ(Call(DG_CONTROL, DAT_XFERGROUP, MSG_QUERYSUPPORT, &group), TWRC_FAILURE);
}

TEST_F(Source, CapabilitiesFollowTheDeviceOutputAfterOpening) {
    host.shape = ImageShape{16, 4, 8};
    Open();
    TW_CAPABILITY cap{ICAP_PIXELTYPE, 0, nullptr};
    ASSERT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &cap), TWRC_SUCCESS);
    TW_UINT16 value = 0;
    std::memcpy(&value, memory.Block(cap.hContainer)->data() + 2, 2);
    EXPECT_EQ(value, TWPT_GRAY);
    // An older application hears BADCAP for capability operation errors.
    TW_IDENTITY identity = source.Identity();
    ASSERT_EQ(Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
    app.ProtocolMinor = 5;
    Open();
    TW_CAPABILITY online{CAP_DEVICEONLINE, 0, nullptr};
    EXPECT_EQ(Call(DG_CONTROL, DAT_CAPABILITY, MSG_RESET, &online), TWRC_FAILURE);
    EXPECT_EQ(Status(), TWCC_BADCAP);
}

}  // namespace
}  // namespace twain
