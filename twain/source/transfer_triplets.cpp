// The image triplets of `CTwainSource`: image information and layout,
// native, memory and file transfers, the pending count and the palette.
#include <algorithm>
#include <cstring>

#include "twain_source.h"

namespace twain {
namespace {

constexpr Answer kSuccess{};
constexpr Answer Failure(TW_UINT16 condition) { return {TWRC_FAILURE, condition}; }
constexpr Answer kDone{TWRC_XFERDONE, TWCC_SUCCESS};

}  // namespace

bool CTwainSource::FetchShape() {
    if (!connected_) return IsValidShape(shape_);
    const ImageShape now = host_.DeviceShape();
    if (!IsValidShape(now)) return false;
    shape_ = now;
    capabilities_.SetDeviceOutputBits(now.bits);
    return true;
}

std::vector<std::uint8_t> CTwainSource::GrabDib() {
    if (!FetchShape()) return {};
    const std::size_t header = DibHeaderBytes(shape_);
    std::vector<std::uint8_t> dib(header + ImageBytes(shape_));
    WriteDibHeader(shape_, std::span(dib).first(header));
    if (!host_.GrabFrame(shape_, std::span(dib).subspan(header))) return {};
    return dib;
}

void CTwainSource::EndTransfer() {
    pending_ = std::max(pending_ - 1, 0);
    stripSource_.clear();
    nextStripRow_ = 0;
}

Answer CTwainSource::OnPendingXfers(TW_UINT16 msg, TW_MEMREF data) {
    auto* pending = static_cast<TW_PENDINGXFERS*>(data);
    switch (msg) {
    case MSG_GET:
        if (state_ < 4) return Failure(TWCC_SEQERROR);
        if (pending == nullptr) return Failure(TWCC_BADVALUE);
        pending->Count = static_cast<TW_UINT16>(pending_);
        return kSuccess;
    case MSG_ENDXFER:
        if (state_ != 7) return Failure(TWCC_SEQERROR);
        if (pending == nullptr) return Failure(TWCC_BADVALUE);
        EndTransfer();
        pending->Count = static_cast<TW_UINT16>(pending_);
        state_ = pending_ > 0 ? 6 : 5;
        return kSuccess;
    case MSG_RESET:
        if (state_ != 6 && state_ != 7) return Failure(TWCC_SEQERROR);
        if (pending == nullptr) return Failure(TWCC_BADVALUE);
        EndTransfer();
        pending_ = 0;
        pending->Count = 0;
        state_ = 5;
        return kSuccess;
    default: return Failure(TWCC_BADPROTOCOL);
    }
}

Answer CTwainSource::OnSetupMemXfer(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    if (state_ < 4 || state_ > 6) return Failure(TWCC_SEQERROR);
    auto* setup = static_cast<TW_SETUPMEMXFER*>(data);
    if (setup == nullptr) return Failure(TWCC_BADVALUE);
    if (!FetchShape()) return Failure(TWCC_OPERATIONERROR);
    // Strips are whole rows: one row is the least a buffer must hold.
    setup->MinBufSize = static_cast<TW_UINT32>(RowBytes(shape_));
    setup->MaxBufSize = static_cast<TW_UINT32>(ImageBytes(shape_));
    setup->Preferred = setup->MaxBufSize;
    return kSuccess;
}

Answer CTwainSource::OnSetupFileXfer(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET && msg != MSG_GETDEFAULT && msg != MSG_RESET && msg != MSG_SET) {
        return Failure(TWCC_BADPROTOCOL);
    }
    if (state_ < 4 || state_ > 6) return Failure(TWCC_SEQERROR);
    auto* setup = static_cast<TW_SETUPFILEXFER*>(data);
    if (setup == nullptr) return Failure(TWCC_BADVALUE);
    if (msg == MSG_SET) {
        const std::size_t length = strnlen(setup->FileName, sizeof setup->FileName);
        if (setup->Format != TWFF_BMP || length == 0 || length == sizeof setup->FileName) {
            return Failure(TWCC_BADVALUE);
        }
        const std::string name(setup->FileName, length);
        if (!host_.CanCreateFile(name)) return Failure(TWCC_BADVALUE);
        fileName_ = name;
        return kSuccess;
    }
    if (msg == MSG_RESET) fileName_ = kDefaultTransferFile;
    const std::string& name = msg == MSG_GETDEFAULT ? std::string(kDefaultTransferFile) : fileName_;
    std::memset(setup->FileName, 0, sizeof setup->FileName);
    std::memcpy(setup->FileName, name.data(), std::min(name.size(), sizeof setup->FileName - 1));
    setup->Format = TWFF_BMP;
    setup->VRefNum = 0;
    return kSuccess;
}

Answer CTwainSource::OnImageInfo(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    if (state_ != 6 && state_ != 7) return Failure(TWCC_SEQERROR);
    auto* info = static_cast<TW_IMAGEINFO*>(data);
    if (info == nullptr) return Failure(TWCC_BADVALUE);
    // During a memory transfer the picture being sent is described.
    if (state_ == 7 && !stripSource_.empty()) {
        *info = ImageInfoFor(stripShape_);
        return kSuccess;
    }
    if (!FetchShape()) return Failure(TWCC_OPERATIONERROR);
    *info = ImageInfoFor(shape_);
    return kSuccess;
}

Answer CTwainSource::OnImageLayout(TW_UINT16 msg, TW_MEMREF data) {
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
    case MSG_GETDEFAULT: {
        auto* layout = static_cast<TW_IMAGELAYOUT*>(data);
        if (layout == nullptr) return Failure(TWCC_BADVALUE);
        FetchShape();
        const int done = std::max(configuredFrames_ - pending_, 0);
        *layout = LayoutFor(shape_, static_cast<TW_UINT32>(done));
        return kSuccess;
    }
    case MSG_SET:
    case MSG_RESET: return kSuccess;
    default: return Failure(TWCC_BADPROTOCOL);
    }
}

Answer CTwainSource::OnImageNativeXfer(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    if (state_ != 6) return Failure(TWCC_SEQERROR);
    if (data == nullptr) return Failure(TWCC_BADVALUE);
    const std::vector<std::uint8_t> dib = GrabDib();
    if (dib.empty()) return Failure(TWCC_OPERATIONERROR);
    TW_HANDLE handle = memory_.Allocate(dib.size());
    {
        LockedHandle lock(memory_, handle);
        if (lock.Bytes().size() < dib.size()) {
            if (handle != nullptr) memory_.Free(handle);
            return Failure(TWCC_LOWMEMORY);
        }
        std::memcpy(lock.Bytes().data(), dib.data(), dib.size());
    }
    // The application owns the handle from here.
    *static_cast<TW_HANDLE*>(data) = handle;
    state_ = 7;
    return kDone;
}

Answer CTwainSource::OnImageMemXfer(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    const bool first = state_ == 6;
    const bool later =
        state_ == 7 && !stripSource_.empty() && nextStripRow_ < static_cast<std::uint32_t>(stripShape_.height);
    if (!first && !later) return Failure(TWCC_SEQERROR);
    auto* xfer = static_cast<TW_IMAGEMEMXFER*>(data);
    if (xfer == nullptr || xfer->Memory.TheMem == nullptr) return Failure(TWCC_BADVALUE);
    if (first && !FetchShape()) return Failure(TWCC_OPERATIONERROR);
    const ImageShape shape = first ? shape_ : stripShape_;
    const std::size_t rowBytes = RowBytes(shape);

    // The application's buffer stays as given: a handle is locked for the
    // copy, a pointer written through.
    const bool isHandle = (xfer->Memory.Flags & TWMF_HANDLE) != 0;
    std::span<std::uint8_t> buffer;
    if (isHandle) {
        buffer = memory_.Lock(xfer->Memory.TheMem);
        if (buffer.empty()) return Failure(TWCC_BADVALUE);
        buffer = buffer.first(std::min<std::size_t>(buffer.size(), xfer->Memory.Length));
    } else {
        buffer = std::span(static_cast<std::uint8_t*>(xfer->Memory.TheMem), xfer->Memory.Length);
    }
    const auto release = [&] {
        if (isHandle) memory_.Unlock(xfer->Memory.TheMem);
    };
    if (buffer.size() < rowBytes) {
        release();
        return Failure(TWCC_BADVALUE);
    }
    if (first) {
        std::vector<std::uint8_t> dib = GrabDib();
        if (dib.empty()) {
            release();
            return Failure(TWCC_OPERATIONERROR);
        }
        dib.erase(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(DibHeaderBytes(shape)));
        stripSource_ = std::move(dib);
        stripShape_ = shape;
        nextStripRow_ = 0;
    }
    const auto height = static_cast<std::uint32_t>(shape.height);
    const auto rows =
        static_cast<std::uint32_t>(std::min<std::size_t>(buffer.size() / rowBytes, height - nextStripRow_));
    CopyStripRows(stripSource_, shape, nextStripRow_, rows, buffer);
    release();
    xfer->Compression = TWCP_NONE;
    xfer->BytesPerRow = static_cast<TW_UINT32>(rowBytes);
    xfer->Columns = static_cast<TW_UINT32>(shape.width);
    xfer->Rows = rows;
    xfer->XOffset = 0;
    xfer->YOffset = nextStripRow_;
    xfer->BytesWritten = static_cast<TW_UINT32>(rows * rowBytes);
    nextStripRow_ += rows;
    state_ = 7;
    return nextStripRow_ >= height ? kDone : kSuccess;
}

Answer CTwainSource::OnImageFileXfer(TW_UINT16 msg, TW_MEMREF) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    if (state_ != 6) return Failure(TWCC_SEQERROR);
    const std::vector<std::uint8_t> dib = GrabDib();
    if (dib.empty()) return Failure(TWCC_OPERATIONERROR);
    const auto header = BmpFileHeader(shape_);
    if (!host_.WriteFile(fileName_, header, dib)) return Failure(TWCC_OPERATIONERROR);
    state_ = 7;
    return kDone;
}

Answer CTwainSource::OnPalette8(TW_UINT16 msg, TW_MEMREF data) {
    if (msg != MSG_GET) return Failure(TWCC_BADPROTOCOL);
    if (state_ < 4 || state_ > 6) return Failure(TWCC_SEQERROR);
    auto* palette = static_cast<TW_PALETTE8*>(data);
    if (palette == nullptr) return Failure(TWCC_BADVALUE);
    FetchShape();
    *palette = TW_PALETTE8{};
    if (shape_.bits == 8) {
        palette->NumColors = 256;
        palette->PaletteType = TWPA_GRAY;
        for (int i = 0; i < 256; ++i) {
            const auto level = static_cast<TW_UINT8>(i);
            palette->Colors[i] = TW_ELEMENT8{level, level, level, level};
        }
    } else {
        palette->NumColors = 0;
        palette->PaletteType = TWPA_CIE;
    }
    return kSuccess;
}

}  // namespace twain
