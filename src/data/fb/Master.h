#pragma once

#include <firebird/Interface.h>

namespace corvadel::fb {

// The client library's master interface; process-wide and never released.
Firebird::IMaster *master();

// The library's utility interface (parameter-block builders, date and time
// codecs, status formatting); owned by the library.
Firebird::IUtil *util();

} // namespace corvadel::fb
