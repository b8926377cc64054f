#pragma once

#include "archive/ResourceRecord.h"

namespace s::archive {

// The resources embedded into this executable at build time. Defined by the generated source of
// the resources library (src/resources).
ResourceTable executableResources();

}  // namespace s::archive
