// Drives the data source core with arbitrary triplets and containers, as
// applications and source managers might send them: every input must end
// in an answer, never a crash, a read or write out of bounds or a leak of
// what the source still owns. Pointers inside the data are the one thing an
// application must get right, so they point at real blocks here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "source_fakes.h"
#include "twain_source.h"

namespace {

using namespace twain;

constexpr TW_UINT16 kDats[] = {DAT_NULL,          DAT_CAPABILITY,      DAT_EVENT,         DAT_IDENTITY,
                               DAT_PENDINGXFERS,  DAT_SETUPMEMXFER,    DAT_SETUPFILEXFER, DAT_STATUS,
                               DAT_USERINTERFACE, DAT_XFERGROUP,       DAT_IMAGEINFO,     DAT_IMAGELAYOUT,
                               DAT_IMAGEMEMXFER,  DAT_IMAGENATIVEXFER, DAT_IMAGEFILEXFER, DAT_PALETTE8};
constexpr TW_UINT16 kMsgs[] = {MSG_NULL,    MSG_GET,       MSG_GETCURRENT, MSG_GETDEFAULT,   MSG_GETFIRST,
                               MSG_GETNEXT, MSG_SET,       MSG_RESET,      MSG_QUERYSUPPORT, MSG_OPENDS,
                               MSG_CLOSEDS, MSG_DISABLEDS, MSG_ENABLEDS,   MSG_PROCESSEVENT, MSG_ENDXFER};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    void Fill(std::uint8_t* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) out[i] = Byte();
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    test::FakeHost host;
    test::TableMemory memory;
    CTwainSource source(host, memory, SourceStrings{});
    host.shape = ImageShape{1 + in.Byte() % 40, 1 + in.Byte() % 9, in.Byte() & 1 ? 8 : 24};
    host.frameCount = 1 + in.Byte() % 4;
    const TW_IDENTITY apps[2] = {test::ApplicationIdentity("first"), test::ApplicationIdentity("second")};

    while (!in.Empty()) {
        const std::uint8_t op = in.Byte();
        if (op == 0xFF) {
            source.OnCaptureButton();
            continue;
        }
        if (op == 0xFE) {
            source.OnExitButton();
            continue;
        }
        const TW_UINT32 dg = (op & 3) == 3 ? in.Byte() : (op & 3);
        const std::uint8_t datPick = in.Byte();
        const TW_UINT16 dat = datPick < 240 ? kDats[datPick % std::size(kDats)] : static_cast<TW_UINT16>(datPick << 4);
        const std::uint8_t msgPick = in.Byte();
        const TW_UINT16 msg = msgPick < 240 ? kMsgs[msgPick % std::size(kMsgs)] : msgPick;
        const TW_IDENTITY* origin = (op & 0x30) == 0x30 ? nullptr : &apps[(op >> 4) & 1];
        host.grabSucceeds = (op & 0x40) == 0;

        // Room for the largest structure a triplet is given (the 8-bit
        // palette, 1028 bytes), as an application must provide.
        alignas(8) std::uint8_t block[2048];
        static_assert(sizeof block >= sizeof(TW_PALETTE8));
        in.Fill(block, 64);
        std::memset(block + 64, 0, sizeof block - 64);
        std::vector<std::uint8_t> buffer(in.Byte() * 3);
        TW_HANDLE container = nullptr;
        if (dat == DAT_CAPABILITY) {
            auto* cap = reinterpret_cast<TW_CAPABILITY*>(block);
            const std::size_t length = in.Byte() % 40;
            container = length ? memory.Allocate(length) : nullptr;
            if (container) in.Fill(memory.Block(container)->data(), length);
            cap->hContainer = container;
        } else if (dat == DAT_IMAGEMEMXFER) {
            auto* xfer = reinterpret_cast<TW_IMAGEMEMXFER*>(block);
            if (xfer->Memory.Flags & TWMF_HANDLE) {
                container = memory.Allocate(buffer.size());
                xfer->Memory.TheMem = (op & 0x80) ? container : nullptr;
            } else {
                xfer->Memory.TheMem = buffer.data();
            }
            const TW_UINT32 asked = xfer->Memory.Length;
            xfer->Memory.Length = std::min(asked, static_cast<TW_UINT32>(buffer.size()));
        } else if (dat == DAT_EVENT || msg == MSG_PROCESSEVENT) {
            reinterpret_cast<TW_EVENT*>(block)->pEvent = (op & 0x80) ? &host : nullptr;
            host.dialogEvent = &host;
        } else if (dat == DAT_USERINTERFACE) {
            reinterpret_cast<TW_USERINTERFACE*>(block)->hParent = nullptr;
        }
        const std::size_t liveBefore = memory.Live();
        const TW_UINT16 rc = source.Entry(origin, dg, dat, msg, (op & 0x08) ? nullptr : block);
        if (rc > TWRC_XFERDONE) std::abort();
        if (source.State() < 3 || source.State() > 7) std::abort();
        if (source.State() >= 4 && !source.Connected()) std::abort();
        // Whatever the source handed out belongs to the caller: free it.
        if (memory.Live() > liveBefore) {
            if (dat == DAT_CAPABILITY) {
                TW_HANDLE out = reinterpret_cast<TW_CAPABILITY*>(block)->hContainer;
                if (out != container) memory.Free(out);
            } else if (dat == DAT_IMAGENATIVEXFER) {
                TW_HANDLE out = nullptr;
                std::memcpy(&out, block, sizeof out);
                memory.Free(out);
            }
        }
        if (container != nullptr) memory.Free(container);
        if (memory.Live() != 0) std::abort();
    }
    return 0;
}
