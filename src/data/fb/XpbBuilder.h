#pragma once

#include "data/fb/Master.h"
#include "data/fb/Status.h"

#include <firebird/Interface.h>

#include <memory>

namespace corvadel::fb {

struct XpbBuilderDisposer
{
    void operator()(Firebird::IXpbBuilder *builder) const { builder->dispose(); }
};

// A parameter-block builder (DPB, TPB, SPB), disposed when it goes.
using XpbBuilderPtr = std::unique_ptr<Firebird::IXpbBuilder, XpbBuilderDisposer>;

// kind: Firebird::IXpbBuilder::DPB, TPB, SPB_ATTACH, SPB_START, ...
inline XpbBuilderPtr newXpbBuilder(Status &status, unsigned kind)
{
    return XpbBuilderPtr(util()->getXpbBuilder(&status, kind, nullptr, 0));
}

} // namespace corvadel::fb
