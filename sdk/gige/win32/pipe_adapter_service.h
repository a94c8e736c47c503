// The adapter service as the library asks it: this process's adapter list
// over the service's two named pipes, once per request.
#pragma once

#include "gige_library.h"

namespace kqge {

class PipeAdapterService final : public AdapterService {
public:
    AdapterReply RequestAdapters() override;
};

}  // namespace kqge
