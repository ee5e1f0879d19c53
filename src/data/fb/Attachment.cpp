#include "data/fb/Attachment.h"

#include "data/fb/Master.h"
#include "data/fb/Status.h"
#include "data/fb/XpbBuilder.h"

namespace corvadel::fb {

namespace {

constexpr int sqlDialect = 3;
constexpr const char *characterSet = "UTF8";

XpbBuilderPtr connectionParameters(Status &status, const QString &user, const QString &password)
{
    XpbBuilderPtr dpb = newXpbBuilder(status, Firebird::IXpbBuilder::DPB);
    // The credentials below are UTF-8, whatever the process locale says.
    dpb->insertTag(&status, isc_dpb_utf8_filename);
    dpb->insertString(&status, isc_dpb_user_name, user.toUtf8().constData());
    dpb->insertString(&status, isc_dpb_password, password.toUtf8().constData());
    dpb->insertString(&status, isc_dpb_lc_ctype, characterSet);
    dpb->insertInt(&status, isc_dpb_sql_dialect, sqlDialect);
    return dpb;
}

} // namespace

Attachment::~Attachment()
{
    close();
}

Attachment &Attachment::operator=(Attachment &&other) noexcept
{
    if (this != &other) {
        close();
        m_handle = std::move(other.m_handle);
    }
    return *this;
}

Attachment Attachment::attach(const QString &database, const QString &user, const QString &password)
{
    Status status;
    XpbBuilderPtr dpb = connectionParameters(status, user, password);
    RefPtr<Firebird::IProvider> provider = RefPtr<Firebird::IProvider>::adopt(master()->getDispatcher());
    Firebird::IAttachment *handle = provider->attachDatabase(
        &status, database.toUtf8().constData(), dpb->getBufferLength(&status), dpb->getBuffer(&status));
    return Attachment(RefPtr<Firebird::IAttachment>::adopt(handle));
}

Attachment Attachment::create(const QString &database, const QString &user, const QString &password,
                              int pageSize, bool forcedWrites)
{
    Status status;
    XpbBuilderPtr dpb = connectionParameters(status, user, password);
    dpb->insertInt(&status, isc_dpb_page_size, pageSize);
    dpb->insertInt(&status, isc_dpb_force_write, forcedWrites ? 1 : 0);
    dpb->insertString(&status, isc_dpb_set_db_charset, characterSet);
    RefPtr<Firebird::IProvider> provider = RefPtr<Firebird::IProvider>::adopt(master()->getDispatcher());
    Firebird::IAttachment *handle = provider->createDatabase(
        &status, database.toUtf8().constData(), dpb->getBufferLength(&status), dpb->getBuffer(&status));
    return Attachment(RefPtr<Firebird::IAttachment>::adopt(handle));
}

void Attachment::detach()
{
    if (!m_handle)
        return;
    Status status;
    try {
        m_handle->detach(&status);
    } catch (const Error &) {
        // The server refuses a detach while a transaction is active and
        // closes the connection all the same, rolling the transaction back.
        m_handle.reset();
        throw;
    }
    m_handle.abandon(); // a successful detach released our reference
}

void Attachment::dropDatabase()
{
    if (!m_handle)
        return;
    Status status;
    m_handle->dropDatabase(&status);
    m_handle.abandon(); // a successful drop released our reference
}

void Attachment::close() noexcept
{
    if (!m_handle)
        return;
    QuietStatus status;
    m_handle->detach(status.get());
    if (status.failed())
        m_handle.reset(); // the last reference going closes the connection
    else
        m_handle.abandon();
}

} // namespace corvadel::fb
