#pragma once

#include "data/fb/Error.h"
#include "data/fb/Master.h"

#include <firebird/Interface.h>

namespace corvadel::fb {

// Status argument of every library call made by this layer: a failed call
// throws corvadel::fb::Error with the deep-copied status vector. Owns its
// IStatus. Keep one per object on hot paths (a statement's fetch loop) rather
// than one per call, since getting a status allocates.
class Status final : public Firebird::BaseStatusWrapper<Status>
{
public:
    Status() : BaseStatusWrapper(master()->getStatus()) {}
    ~Status() { status->dispose(); }

    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;

    // Called by the library's wrappers after every call.
    static void checkException(Status *wrapper)
    {
        if (wrapper->dirty && (wrapper->getState() & Firebird::IStatus::STATE_ERRORS))
            throw Error::fromStatus(wrapper->status);
    }

};

// A status for calls whose failure is only looked at, not thrown: cleanup in
// destructors, where a second error must not escape.
class QuietStatus final
{
public:
    QuietStatus() : m_wrapper(master()->getStatus()) {}
    ~QuietStatus() { m_wrapper.dispose(); }

    QuietStatus(const QuietStatus &) = delete;
    QuietStatus &operator=(const QuietStatus &) = delete;

    Firebird::CheckStatusWrapper *get() { return &m_wrapper; }
    bool failed() const { return m_wrapper.getState() & Firebird::IStatus::STATE_ERRORS; }

private:
    Firebird::CheckStatusWrapper m_wrapper;
};

} // namespace corvadel::fb
