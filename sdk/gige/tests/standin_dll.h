// The stand-in build of KQGEu.dll, loaded by full path as a client loads the
// library, its exports bound by name.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace kqge::fixture {

inline HMODULE LoadStandInDll() { return LoadLibraryW(KQGE_STANDIN_DLL_PATH); }

// Binds `entry` to the export `name`; a missing export fails the test.
template <class F>
void BindExport(HMODULE module, F& entry, const char* name) {
    entry = module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    if (!entry) ADD_FAILURE() << name << " is not exported by " << std::filesystem::path(KQGE_STANDIN_DLL_PATH);
}

}  // namespace kqge::fixture
