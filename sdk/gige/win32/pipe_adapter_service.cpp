#include "pipe_adapter_service.h"

#include <windows.h>

#include "adapter_service_client.h"

namespace kqge {

AdapterReply PipeAdapterService::RequestAdapters() { return kqge::RequestAdapters(GetCurrentProcessId()); }

}  // namespace kqge
