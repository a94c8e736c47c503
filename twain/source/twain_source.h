#pragma once
// `CTwainSource`: the data source's protocol core. It keeps the TWAIN
// states 3 to 7, serves one connected application, dispatches every
// triplet to its handler and runs the transfers; windows, the device and
// files are reached through SourceHost, memory handles through HandleMemory.

#include <cstdint>
#include <string>
#include <vector>

#include "capability_table.h"
#include "handle_memory.h"
#include "source_host.h"
#include "transfer_geometry.h"
#include "twain_protocol.h"

namespace twain {

struct SourceStrings {
    std::string info = " ";
    std::string manufacturer = " ";
    std::string productFamily = "Vizcam_TWAIN";
    std::string productName = "Vizcam TWAIN";
};

struct Answer {
    TW_UINT16 returnCode = TWRC_SUCCESS;
    TW_UINT16 condition = TWCC_SUCCESS;
};

class CTwainSource {
public:
    CTwainSource(SourceHost& host, HandleMemory& memory, const SourceStrings& strings);

    // One DS_Entry call.
    TW_UINT16 Entry(const TW_IDENTITY* origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

    // The dialog's capture button: the frame count becomes the pending
    // transfers and the application hears MSG_XFERREADY.
    void OnCaptureButton();
    // The dialog's exit button: the application is asked to close us.
    void OnExitButton();

    int State() const { return state_; }
    bool Connected() const { return connected_; }
    int PendingTransfers() const { return pending_; }
    const TW_IDENTITY& Identity() const { return own_; }
    const CCapabilityTable& Capabilities() const { return capabilities_; }

private:
    bool SameApplication(const TW_IDENTITY& origin) const;
    Answer Dispatch(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    Answer OnIdentity(TW_UINT16 msg, TW_MEMREF data);
    Answer OnUserInterface(TW_UINT16 msg, TW_MEMREF data);
    Answer OnXferGroup(TW_UINT16 msg, TW_MEMREF data);
    Answer OnCapability(TW_UINT16 msg, TW_MEMREF data);
    Answer OnPendingXfers(TW_UINT16 msg, TW_MEMREF data);
    Answer OnSetupMemXfer(TW_UINT16 msg, TW_MEMREF data);
    Answer OnSetupFileXfer(TW_UINT16 msg, TW_MEMREF data);
    Answer OnImageInfo(TW_UINT16 msg, TW_MEMREF data);
    Answer OnImageLayout(TW_UINT16 msg, TW_MEMREF data);
    Answer OnImageNativeXfer(TW_UINT16 msg, TW_MEMREF data);
    Answer OnImageMemXfer(TW_UINT16 msg, TW_MEMREF data);
    Answer OnImageFileXfer(TW_UINT16 msg, TW_MEMREF data);
    Answer OnPalette8(TW_UINT16 msg, TW_MEMREF data);

    void CloseConnection();
    void EndTransfer();
    void Notify(TW_UINT16 msg);
    bool FetchShape();
    // Header, palette and pixels of a new frame; empty when none came.
    std::vector<std::uint8_t> GrabDib();

    SourceHost& host_;
    HandleMemory& memory_;
    CCapabilityTable capabilities_;
    TW_IDENTITY own_{};
    TW_IDENTITY application_{};
    bool connected_ = false;
    int state_ = 3;
    TW_UINT16 condition_ = TWCC_SUCCESS;
    // What DAT_STATUS tells a caller that is not the connected application.
    TW_UINT16 foreignCondition_ = TWCC_SUCCESS;

    ImageShape shape_{};
    int configuredFrames_ = 0;
    int pending_ = 0;
    std::string fileName_;
    // A memory transfer's picture as a DIB's pixels and the next row to send.
    std::vector<std::uint8_t> stripSource_;
    ImageShape stripShape_{};
    std::uint32_t nextStripRow_ = 0;
};

// The file name DAT_SETUPFILEXFER offers before the application sets one.
inline constexpr const char* kDefaultTransferFile = "TWAIN.BMP";

}  // namespace twain
