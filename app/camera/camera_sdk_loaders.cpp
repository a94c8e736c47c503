#include "camera_sdk_loaders.h"

CCameraSdkLoaders::CCameraSdkLoaders(const std::wstring& folder)
    : m_ccd(folder + CCCDSdkBinding::kFileName),
      m_cmos(folder + CCMOSSdkBinding::kFileName),
      m_gige(folder + CGigESdkBinding::kFileName),
      m_uvc(folder + CUVCSdkBinding::kFileName) {}
