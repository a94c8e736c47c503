#include "twain_source.h"

#include <algorithm>
#include <cstring>

namespace twain {
namespace {

void CopyText(char (&out)[34], const std::string& text) {
    std::memset(out, 0, sizeof out);
    std::memcpy(out, text.data(), std::min(text.size(), sizeof out - 1));
}

bool SameText(const char (&a)[34], const char (&b)[34]) { return std::strncmp(a, b, sizeof a) == 0; }

constexpr Answer kSuccess{};
constexpr Answer Failure(TW_UINT16 condition) { return {TWRC_FAILURE, condition}; }

}  // namespace

CTwainSource::CTwainSource(SourceHost& host, HandleMemory& memory, const SourceStrings& strings)
    : host_(host), memory_(memory), fileName_(kDefaultTransferFile) {
    own_.Version.MajorNum = 1;
    own_.Version.MinorNum = 0;
    own_.Version.Language = 86;
    own_.Version.Country = 86;
    CopyText(own_.Version.Info, strings.info);
    own_.ProtocolMajor = 1;
    own_.ProtocolMinor = 8;
    own_.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(own_.Manufacturer, strings.manufacturer);
    CopyText(own_.ProductFamily, strings.productFamily);
    CopyText(own_.ProductName, strings.productName);
}

bool CTwainSource::SameApplication(const TW_IDENTITY& origin) const {
    // Source managers may give every application the same Id, so the
    // identity's names tell applications apart as well.
    return origin.Id == application_.Id && SameText(origin.ProductName, application_.ProductName) &&
           SameText(origin.ProductFamily, application_.ProductFamily) &&
           SameText(origin.Manufacturer, application_.Manufacturer);
}

TW_UINT16 CTwainSource::Entry(const TW_IDENTITY* origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    // Any caller may read the identity: the source manager asks before it
    // opens us, with an origin of its own.
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_GET) return OnIdentity(msg, data).returnCode;

    const bool foreign = origin == nullptr || (connected_ && !SameApplication(*origin));
    if (foreign) {
        if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET && data != nullptr) {
            auto* status = static_cast<TW_STATUS*>(data);
            status->ConditionCode = foreignCondition_;
            status->Reserved = 0;
            foreignCondition_ = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        }
        foreignCondition_ = origin == nullptr ? TWCC_BADVALUE : TWCC_MAXCONNECTIONS;
        return TWRC_FAILURE;
    }

    if (msg == MSG_PROCESSEVENT) {
        auto* event = static_cast<TW_EVENT*>(data);
        if (event == nullptr || state_ < 4 || !host_.ProcessEvent(event->pEvent)) return TWRC_NOTDSEVENT;
        event->TWMessage = MSG_NULL;
        return TWRC_DSEVENT;
    }
    if (dg == DG_CONTROL && dat == DAT_STATUS) {
        if (msg != MSG_GET) return TWRC_FAILURE;
        if (data == nullptr) return TWRC_FAILURE;
        auto* status = static_cast<TW_STATUS*>(data);
        status->ConditionCode = condition_;
        status->Reserved = 0;
        condition_ = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_OPENDS && origin != nullptr && !connected_) {
        application_ = *origin;
    }
    const Answer answer = Dispatch(dg, dat, msg, data);
    condition_ = answer.condition;
    return answer.returnCode;
}

Answer CTwainSource::Dispatch(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (dg == DG_CONTROL) {
        switch (dat) {
        case DAT_CAPABILITY: return OnCapability(msg, data);
        case DAT_IDENTITY: return OnIdentity(msg, data);
        case DAT_PENDINGXFERS: return OnPendingXfers(msg, data);
        case DAT_SETUPMEMXFER: return OnSetupMemXfer(msg, data);
        case DAT_SETUPFILEXFER: return OnSetupFileXfer(msg, data);
        case DAT_USERINTERFACE: return OnUserInterface(msg, data);
        case DAT_XFERGROUP: return OnXferGroup(msg, data);
        default: break;
        }
    } else if (dg == DG_IMAGE) {
        switch (dat) {
        case DAT_IMAGEINFO: return OnImageInfo(msg, data);
        case DAT_IMAGELAYOUT: return OnImageLayout(msg, data);
        case DAT_IMAGEMEMXFER: return OnImageMemXfer(msg, data);
        case DAT_IMAGENATIVEXFER: return OnImageNativeXfer(msg, data);
        case DAT_IMAGEFILEXFER: return OnImageFileXfer(msg, data);
        case DAT_PALETTE8: return OnPalette8(msg, data);
        default: break;
        }
    }
    return Failure(TWCC_BADPROTOCOL);
}

Answer CTwainSource::OnIdentity(TW_UINT16 msg, TW_MEMREF data) {
    auto* identity = static_cast<TW_IDENTITY*>(data);
    switch (msg) {
    case MSG_GET:
        if (identity == nullptr) return Failure(TWCC_BADVALUE);
        *identity = own_;
        return kSuccess;
    case MSG_OPENDS:
        if (connected_) return Failure(TWCC_SEQERROR);
        if (identity == nullptr) return Failure(TWCC_BADVALUE);
        if (!host_.OpenDevice()) {
            application_ = TW_IDENTITY{};
            return Failure(TWCC_SEQERROR);
        }
        // The manager's copy carries the Id it gave us; the rest is ours.
        own_.Id = identity->Id;
        *identity = own_;
        connected_ = true;
        state_ = 4;
        pending_ = 0;
        configuredFrames_ = 0;
        capabilities_.SetDeviceOutputBits(host_.DeviceShape().bits);
        return kSuccess;
    case MSG_CLOSEDS:
        if (state_ < 4) return Failure(TWCC_SEQERROR);
        CloseConnection();
        return kSuccess;
    default: return Failure(TWCC_BADPROTOCOL);
    }
}

void CTwainSource::CloseConnection() {
    // The dialog goes first: it uses the device the bridge holds.
    if (state_ >= 5) host_.DestroySettingsDialog();
    host_.CloseDevice();
    connected_ = false;
    application_ = TW_IDENTITY{};
    pending_ = 0;
    stripSource_.clear();
    state_ = 3;
}

Answer CTwainSource::OnUserInterface(TW_UINT16 msg, TW_MEMREF data) {
    switch (msg) {
    case MSG_ENABLEDS: {
        if (state_ != 4) return Failure(TWCC_SEQERROR);
        const auto* ui = static_cast<const TW_USERINTERFACE*>(data);
        if (ui == nullptr) return Failure(TWCC_BADVALUE);
        if (!host_.CreateSettingsDialog(ui->hParent, ui->ShowUI != 0)) return Failure(TWCC_LOWMEMORY);
        state_ = 5;
        if (ui->ShowUI == 0) OnCaptureButton();
        return kSuccess;
    }
    case MSG_DISABLEDS:
        if (state_ < 5) return Failure(TWCC_SEQERROR);
        host_.DestroySettingsDialog();
        pending_ = 0;
        stripSource_.clear();
        state_ = 4;
        return kSuccess;
    default: return Failure(TWCC_BADPROTOCOL);
    }
}

Answer CTwainSource::OnXferGroup(TW_UINT16 msg, TW_MEMREF data) {
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT:
    case MSG_RESET:
        if (data == nullptr) return Failure(TWCC_BADVALUE);
        *static_cast<TW_UINT32*>(data) = DG_IMAGE;
        return kSuccess;
    case MSG_SET: return kSuccess;
    default: return Failure(TWCC_BADPROTOCOL);
    }
}

Answer CTwainSource::OnCapability(TW_UINT16 msg, TW_MEMREF data) {
    auto* capability = static_cast<TW_CAPABILITY*>(data);
    if (capability == nullptr) return Failure(TWCC_BADVALUE);
    CapabilityContext context;
    if (connected_) {
        context.appProtocolMajor = application_.ProtocolMajor;
        context.appProtocolMinor = application_.ProtocolMinor;
    }
    context.transfersPending = pending_ > 0;
    const CapabilityAnswer answer = capabilities_.OnCapability(msg, *capability, memory_, context);
    return {answer.returnCode, answer.condition};
}

void CTwainSource::OnCaptureButton() {
    // Transfers already under way keep their count.
    if (state_ != 5) return;
    configuredFrames_ = std::clamp(host_.FrameCount(), 1, 10000);
    pending_ = configuredFrames_;
    stripSource_.clear();
    state_ = 6;
    Notify(MSG_XFERREADY);
}

void CTwainSource::OnExitButton() {
    if (state_ >= 5) Notify(MSG_CLOSEDSREQ);
}

void CTwainSource::Notify(TW_UINT16 msg) { host_.NotifyApplication(own_, application_, msg); }

}  // namespace twain
