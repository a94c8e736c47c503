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

STDMETHODIMP CGrabberCallback::SampleCB(double, IMediaSample* sample) {
    if (!sample || !m_still.IsPending()) {
        return S_OK;
    }
    BYTE* data = nullptr;
    const long length = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || !data || length <= 0) {
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
