#pragma once

#include <utility>

namespace corvadel::fb {

// Holds one reference to a reference-counted interface of the client library
// and gives it back with release() when it goes.
//
// Several calls of the library (commit, rollback, detach, close, free,
// dropDatabase) release the caller's reference themselves when they succeed.
// After such a call the pointer must be dropped with abandon(), never
// released again.
template <typename T>
class RefPtr
{
public:
    RefPtr() = default;

    // Takes over a reference the caller already owns (what the library's
    // factory calls return).
    static RefPtr adopt(T *ptr)
    {
        RefPtr result;
        result.m_ptr = ptr;
        return result;
    }

    // Takes a new reference of its own to an interface someone else holds.
    static RefPtr share(T *ptr)
    {
        if (ptr)
            ptr->addRef();
        return adopt(ptr);
    }

    RefPtr(const RefPtr &other) : m_ptr(other.m_ptr)
    {
        if (m_ptr)
            m_ptr->addRef();
    }

    RefPtr(RefPtr &&other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}

    RefPtr &operator=(RefPtr other) noexcept
    {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    ~RefPtr() { reset(); }

    void reset()
    {
        if (T *ptr = std::exchange(m_ptr, nullptr))
            ptr->release();
    }

    // Forgets the pointer without releasing it: the library has already
    // released this reference.
    void abandon() { m_ptr = nullptr; }

    T *get() const { return m_ptr; }
    T *operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

private:
    T *m_ptr = nullptr;
};

} // namespace corvadel::fb
