#include "office_version.h"

bool UsesXlsx(std::wstring_view version) {
    constexpr int kFirstXlsxMajor = 12;
    int major = 0;
    std::size_t digits = 0;
    for (wchar_t c : version) {
        if (c < L'0' || c > L'9') break;
        major = major * 10 + (c - L'0');
        if (major >= kFirstXlsxMajor) return true;
        ++digits;
    }
    return digits > 0 && major >= kFirstXlsxMajor;
}
