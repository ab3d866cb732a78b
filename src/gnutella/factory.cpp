#include "automation/dispatch.h"
#include "gnutella/core.h"

// The engine library's one entry: makes the root object.
extern "C" __attribute__((visibility("default"))) void tavrin_create_core(std::shared_ptr<Dispatch>* out)
{
    *out = std::make_shared<Core>();
}
