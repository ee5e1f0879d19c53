#include "data/fb/Master.h"

namespace corvadel::fb {

Firebird::IMaster *master()
{
    static Firebird::IMaster *const instance = Firebird::fb_get_master_interface();
    return instance;
}

Firebird::IUtil *util()
{
    static Firebird::IUtil *const instance = master()->getUtilInterface();
    return instance;
}

} // namespace corvadel::fb
