#include "grabber_callback.h"

#include <span>

#include "handed_over_text.h"
#include "private_messages.h"

STDMETHODIMP CGrabberCallback::QueryInterface(REFIID iid, void** out) {
    if (!out) {
        return E_POINTER;
    }
    if (iid == IID_ISampleGrabberCB || iid == IID_IUnknown) {
        *out = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// Frames are bottom-up 24-bit rows, row 0 first in the buffer as every
// family's frames are. Rows padded to four bytes are not the packed rows
// the drawing takes; such a frame is left as it is.
void CGrabberCallback::DrawCrossLines(BYTE* data, long length) const {
    const int width = m_frameWidth;
    const int height = m_frameHeight;
    if (!m_crossLines || width <= 0 || height <= 0 || (width * 3) % 4 != 0) {
        return;
    }
    m_crossLines->DrawInto({std::span<std::uint8_t>(data, static_cast<std::size_t>(length)), width, height, 24});
}

STDMETHODIMP CGrabberCallback::SampleCB(double, IMediaSample* sample) {
    if (!sample) {
        return S_OK;
    }
    BYTE* data = nullptr;
    const long length = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || !data || length <= 0) {
        return S_OK;
    }
    DrawCrossLines(data, length);
    if (!m_still.IsPending()) {
        return S_OK;
    }
    const StillOutcome outcome =
        m_still.OnFrame(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
    if ((outcome.kind == StillOutcome::saved || outcome.kind == StillOutcome::failed) && outcome.notify &&
        m_noticeWindow) {
        const std::uintptr_t handed = HandOverText(outcome.path);
        if (!PostMessageW(m_noticeWindow, WM_SNAPSHOT_SAVED, handed, 0)) {
            TakeHandedOverText(handed);
        }
    }
    return S_OK;
}
