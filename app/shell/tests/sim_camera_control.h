#pragma once
// The simulated cameras of a program run by a test, driven from the test's
// process through the simulated-camera build's control (KQSim.h): the name
// goes to the program in KQSIM_CONTROL, which the test sets in its own
// environment for the program to inherit, and is taken back when the
// control goes away.
#include <windows.h>

#include <string>

#include "KQSim.h"
#include "unique_handle.h"

class SimCameraControl {
public:
    SimCameraControl() : m_name(L"vz_simcam_" + std::to_wstring(GetCurrentProcessId())) {
        m_mapping.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(KQSIM_CONTROL_BLOCK), m_name.c_str()));
        m_request.Reset(CreateEventW(nullptr, FALSE, FALSE, (m_name + L"_request").c_str()));
        m_done.Reset(CreateEventW(nullptr, FALSE, FALSE, (m_name + L"_done").c_str()));
        if (m_mapping) {
            m_block = static_cast<KQSIM_CONTROL_BLOCK*>(
                MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(KQSIM_CONTROL_BLOCK)));
        }
        SetEnvironmentVariableW(L"KQSIM_CONTROL", m_name.c_str());
    }
    ~SimCameraControl() {
        SetEnvironmentVariableW(L"KQSIM_CONTROL", nullptr);
        if (m_block != nullptr) UnmapViewOfFile(m_block);
    }
    SimCameraControl(const SimCameraControl&) = delete;
    SimCameraControl& operator=(const SimCameraControl&) = delete;

    // The command's result in the program; KQSIM_TIMED_OUT when it was not
    // carried out within the time.
    int Unplug(int camera) { return Send(KQSIM_CONTROL_UNPLUG, camera); }
    int Replug(int camera) { return Send(KQSIM_CONTROL_REPLUG, camera); }

private:
    int Send(int command, int camera) {
        if (m_block == nullptr || !m_request || !m_done) return KQSIM_BAD_ARGUMENT;
        m_block->command = command;
        m_block->camera = camera;
        m_block->result = KQSIM_TIMED_OUT;
        SetEvent(m_request.Get());
        if (WaitForSingleObject(m_done.Get(), 20000) != WAIT_OBJECT_0) return KQSIM_TIMED_OUT;
        return m_block->result;
    }

    std::wstring m_name;
    UniqueKernelHandle m_mapping;
    UniqueKernelHandle m_request;
    UniqueKernelHandle m_done;
    KQSIM_CONTROL_BLOCK* m_block = nullptr;
};
