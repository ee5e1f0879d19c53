#include "data/fb/SecurityService.h"

#include "data/fb/Master.h"
#include "data/fb/RefPtr.h"
#include "data/fb/Status.h"
#include "data/fb/XpbBuilder.h"

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace corvadel::fb {

namespace {

constexpr unsigned answerSize = 16384;

unsigned readWord(const unsigned char *p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

int readLong(const unsigned char *p)
{
    return int(unsigned(p[0]) | (unsigned(p[1]) << 8) | (unsigned(p[2]) << 16) | (unsigned(p[3]) << 24));
}

[[noreturn]] void throwMalformedAnswer()
{
    throw std::runtime_error("the security service sent an answer this program cannot read");
}

// What one query of the service said.
struct Answer
{
    QByteArray data;       // the contents of the item asked for
    bool more = false;     // the service has more to say (not ready yet, or the buffer was too small)
    bool running = false;  // for isc_info_svc_running
};

Answer parseAnswer(const unsigned char *p, const unsigned char *end)
{
    Answer answer;
    while (p < end && *p != isc_info_end) {
        const unsigned char item = *p++;
        switch (item) {
        case isc_info_svc_line:
        case isc_info_svc_to_eof:
        case isc_info_svc_get_users: {
            if (end - p < 2)
                throwMalformedAnswer();
            const unsigned length = readWord(p);
            p += 2;
            if (unsigned(end - p) < length)
                throwMalformedAnswer();
            answer.data.append(reinterpret_cast<const char *>(p), qsizetype(length));
            p += length;
            break;
        }
        case isc_info_svc_running:
            if (end - p < 4)
                throwMalformedAnswer();
            answer.running = readLong(p) != 0;
            p += 4;
            break;
        case isc_info_truncated:
        case isc_info_data_not_ready:
            answer.more = true;
            break;
        case isc_info_svc_timeout:
            break;
        default:
            throwMalformedAnswer();
        }
    }
    return answer;
}

// One attachment to the service manager; detached when it goes, also after
// an error.
class ServiceSession
{
public:
    ServiceSession(const QString &server, const QString &user, const QString &password)
    {
        XpbBuilderPtr spb = newXpbBuilder(m_status, Firebird::IXpbBuilder::SPB_ATTACH);
        spb->insertString(&m_status, isc_spb_user_name, user.toUtf8().constData());
        spb->insertString(&m_status, isc_spb_password, password.toUtf8().constData());
        // Every string sent to the service, names of accounts included, is UTF-8.
        spb->insertTag(&m_status, isc_spb_utf8_filename);
        const QByteArray name =
            (server.isEmpty() ? QStringLiteral("service_mgr") : server + QStringLiteral(":service_mgr")).toUtf8();
        auto provider = RefPtr<Firebird::IProvider>::adopt(master()->getDispatcher());
        m_service = RefPtr<Firebird::IService>::adopt(provider->attachServiceManager(
            &m_status, name.constData(), spb->getBufferLength(&m_status), spb->getBuffer(&m_status)));
    }

    ~ServiceSession()
    {
        QuietStatus status;
        m_service->detach(status.get());
        if (status.failed())
            m_service.reset();
        else
            m_service.abandon(); // a successful detach released our reference
    }

    ServiceSession(const ServiceSession &) = delete;
    ServiceSession &operator=(const ServiceSession &) = delete;

    Status &status() { return m_status; }

    // Starts the action in spb and waits until the service has finished it.
    // Returns what the service answered to item meanwhile (isc_info_svc_line
    // for actions without output). The server's error, whether reported by
    // the start or by a later query, is thrown as Error.
    QByteArray run(Firebird::IXpbBuilder *spb, unsigned char item)
    {
        m_service->start(&m_status, spb->getBufferLength(&m_status), spb->getBuffer(&m_status));

        QByteArray output;
        for (;;) {
            const Answer answer = query(item);
            output += answer.data;
            if (answer.data.isEmpty() && !answer.more)
                break;
        }
        while (query(isc_info_svc_running).running)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return output;
    }

private:
    Answer query(unsigned char item)
    {
        const unsigned char items[] = {item};
        std::vector<unsigned char> buffer(answerSize, 0);
        m_service->query(&m_status, 0, nullptr, sizeof(items), items, answerSize, buffer.data());
        return parseAnswer(buffer.data(), buffer.data() + buffer.size());
    }

    Status m_status;
    RefPtr<Firebird::IService> m_service;
};

void refuseEmpty(const QString &userName)
{
    if (userName.isEmpty())
        throw InvalidUserName(QStringLiteral("The user name is empty."));
}

void refuseEmptyOrBlank(const QString &userName)
{
    refuseEmpty(userName);
    for (QChar c : userName) {
        if (c.isSpace())
            throw InvalidUserName(QStringLiteral("The user name \"%1\" contains a blank.").arg(userName));
    }
}

void insertText(Status &status, Firebird::IXpbBuilder *spb, unsigned char tag, const std::optional<QString> &value)
{
    if (value && !value->isEmpty())
        spb->insertString(&status, tag, value->toUtf8().constData());
}

void insertNumber(Status &status, Firebird::IXpbBuilder *spb, unsigned char tag, const std::optional<int> &value)
{
    if (value)
        spb->insertInt(&status, tag, *value);
}

void writeAccount(const QString &server, const QString &adminUser, const QString &adminPassword,
                  unsigned char action, const UserAccount &account)
{
    refuseEmptyOrBlank(account.userName);
    ServiceSession session(server, adminUser, adminPassword);
    Status &status = session.status();
    XpbBuilderPtr spb = newXpbBuilder(status, Firebird::IXpbBuilder::SPB_START);
    spb->insertTag(&status, action);
    spb->insertString(&status, isc_spb_sec_username, account.userName.toUtf8().constData());
    insertNumber(status, spb.get(), isc_spb_sec_userid, account.userId);
    insertNumber(status, spb.get(), isc_spb_sec_groupid, account.groupId);
    insertText(status, spb.get(), isc_spb_sec_password, account.password);
    insertText(status, spb.get(), isc_spb_sec_firstname, account.firstName);
    insertText(status, spb.get(), isc_spb_sec_middlename, account.middleName);
    insertText(status, spb.get(), isc_spb_sec_lastname, account.lastName);
    session.run(spb.get(), isc_info_svc_line);
}

// The accounts in the answer to a display action.
std::vector<UserAccount> parseUsers(const QByteArray &data)
{
    std::vector<UserAccount> users;
    const auto *p = reinterpret_cast<const unsigned char *>(data.constData());
    const unsigned char *const end = p + data.size();
    while (p < end) {
        const unsigned char tag = *p++;
        switch (tag) {
        case isc_spb_sec_username:
        case isc_spb_sec_firstname:
        case isc_spb_sec_middlename:
        case isc_spb_sec_lastname:
        case isc_spb_sec_groupname: {
            if (end - p < 2)
                throwMalformedAnswer();
            const unsigned length = readWord(p);
            p += 2;
            if (unsigned(end - p) < length)
                throwMalformedAnswer();
            const QString text = QString::fromUtf8(reinterpret_cast<const char *>(p), qsizetype(length));
            p += length;
            if (tag == isc_spb_sec_username) {
                users.push_back({});
                users.back().userName = text;
            } else if (users.empty()) {
                throwMalformedAnswer();
            } else if (tag == isc_spb_sec_firstname) {
                users.back().firstName = text;
            } else if (tag == isc_spb_sec_middlename) {
                users.back().middleName = text;
            } else if (tag == isc_spb_sec_lastname) {
                users.back().lastName = text;
            }
            break;
        }
        case isc_spb_sec_userid:
        case isc_spb_sec_groupid:
        case isc_spb_sec_admin: {
            if (end - p < 4 || users.empty())
                throwMalformedAnswer();
            const int number = readLong(p);
            p += 4;
            if (tag == isc_spb_sec_userid)
                users.back().userId = number;
            else if (tag == isc_spb_sec_groupid)
                users.back().groupId = number;
            break;
        }
        default:
            throwMalformedAnswer();
        }
    }
    return users;
}

} // namespace

SecurityService::SecurityService(QString server, QString adminUser, QString adminPassword)
    : m_server(std::move(server)), m_adminUser(std::move(adminUser)), m_adminPassword(std::move(adminPassword))
{
}

void SecurityService::addUser(const UserAccount &account)
{
    writeAccount(m_server, m_adminUser, m_adminPassword, isc_action_svc_add_user, account);
}

void SecurityService::modifyUser(const UserAccount &account)
{
    writeAccount(m_server, m_adminUser, m_adminPassword, isc_action_svc_modify_user, account);
}

void SecurityService::deleteUser(const QString &userName)
{
    refuseEmpty(userName);
    ServiceSession session(m_server, m_adminUser, m_adminPassword);
    Status &status = session.status();
    XpbBuilderPtr spb = newXpbBuilder(status, Firebird::IXpbBuilder::SPB_START);
    spb->insertTag(&status, isc_action_svc_delete_user);
    spb->insertString(&status, isc_spb_sec_username, userName.toUtf8().constData());
    session.run(spb.get(), isc_info_svc_line);
}

UserAccount SecurityService::displayUser(const QString &userName)
{
    // An empty name would list every account.
    refuseEmpty(userName);
    std::vector<UserAccount> users;
    {
        ServiceSession session(m_server, m_adminUser, m_adminPassword);
        Status &status = session.status();
        XpbBuilderPtr spb = newXpbBuilder(status, Firebird::IXpbBuilder::SPB_START);
        spb->insertTag(&status, isc_action_svc_display_user);
        spb->insertString(&status, isc_spb_sec_username, userName.toUtf8().constData());
        users = parseUsers(session.run(spb.get(), isc_info_svc_get_users));
    }
    for (const UserAccount &user : users) {
        if (user.userName.compare(userName, Qt::CaseInsensitive) == 0)
            return user;
    }
    throw Error::fromCodes({isc::userNameNotFound});
}

} // namespace corvadel::fb
