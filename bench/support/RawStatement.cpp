#include "support/RawStatement.h"

#include "data/fb/Attachment.h"
#include "data/fb/Master.h"
#include "data/fb/NamedParameters.h"
#include "data/fb/Transaction.h"

#include <cstring>
#include <stdexcept>

namespace corvadel::bench {

namespace {

std::vector<RawStatement::Column> columnsOf(fb::Status &status, Firebird::IMessageMetadata *metadata)
{
    std::vector<RawStatement::Column> columns;
    if (!metadata)
        return columns;
    for (unsigned i = 0; i < metadata->getCount(&status); ++i)
        columns.push_back({metadata->getType(&status, i) & ~1u, metadata->getLength(&status, i),
                           metadata->getOffset(&status, i), metadata->getNullOffset(&status, i)});
    return columns;
}

template<typename T> void put(unsigned char *where, T value)
{
    std::memcpy(where, &value, sizeof value);
}

} // namespace

RawStatement::RawStatement(fb::Attachment &attachment, fb::Transaction &transaction, const QString &sql)
    : m_attachment(attachment.handle()), m_transaction(transaction.handle())
{
    const QByteArray positional = fb::rewriteNamedParameters(sql, &m_names).toUtf8();
    m_statement = m_attachment->prepare(&m_status, m_transaction, 0, positional.constData(), 3,
                                        Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    m_input = m_statement->getInputMetadata(&m_status);
    m_output = m_statement->getOutputMetadata(&m_status);
    m_parameters = columnsOf(m_status, m_input);
    m_columns = columnsOf(m_status, m_output);
    m_in.resize(m_input->getMessageLength(&m_status) / sizeof(std::max_align_t) + 1);
    m_out.resize(m_output->getMessageLength(&m_status) / sizeof(std::max_align_t) + 1);
    for (const QString &name : std::as_const(m_names))
        setNull(name);
}

RawStatement::~RawStatement()
{
    close();
    if (m_input)
        m_input->release();
    if (m_output)
        m_output->release();
    if (m_statement)
        m_statement->release();
}

unsigned char *RawStatement::parameter(const QString &name, unsigned type, std::vector<unsigned> &positions)
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (type && m_parameters[std::size_t(i)].type != type)
            throw std::invalid_argument("parameter " + name.toStdString() + " has another type");
        positions.push_back(unsigned(i));
    }
    if (positions.empty())
        throw std::invalid_argument("no parameter " + name.toStdString());
    return reinterpret_cast<unsigned char *>(m_in.data());
}

void RawStatement::markNotNull(const std::vector<unsigned> &positions)
{
    auto *in = reinterpret_cast<unsigned char *>(m_in.data());
    for (unsigned p : positions)
        put<short>(in + m_parameters[p].nullOffset, 0);
}

void RawStatement::setNull(const QString &name)
{
    std::vector<unsigned> positions;
    unsigned char *in = parameter(name, 0, positions);
    for (unsigned p : positions)
        put<short>(in + m_parameters[p].nullOffset, -1);
}

void RawStatement::setInteger(const QString &name, int value)
{
    std::vector<unsigned> positions;
    unsigned char *in = parameter(name, SQL_LONG, positions);
    for (unsigned p : positions)
        put<ISC_LONG>(in + m_parameters[p].offset, value);
    markNotNull(positions);
}

void RawStatement::setText(const QString &name, const QByteArray &utf8)
{
    std::vector<unsigned> positions;
    unsigned char *in = parameter(name, SQL_VARYING, positions);
    for (unsigned p : positions) {
        if (unsigned(utf8.size()) > m_parameters[p].length)
            throw std::invalid_argument("text too long for " + name.toStdString());
        put<unsigned short>(in + m_parameters[p].offset, static_cast<unsigned short>(utf8.size()));
        std::memcpy(in + m_parameters[p].offset + 2, utf8.constData(), std::size_t(utf8.size()));
    }
    markNotNull(positions);
}

void RawStatement::setDate(const QString &name, const QDate &date)
{
    std::vector<unsigned> positions;
    unsigned char *in = parameter(name, SQL_TYPE_DATE, positions);
    Firebird::IUtil *util = fb::master()->getUtilInterface();
    const ISC_DATE encoded = util->encodeDate(unsigned(date.year()), unsigned(date.month()), unsigned(date.day()));
    for (unsigned p : positions)
        put<ISC_DATE>(in + m_parameters[p].offset, encoded);
    markNotNull(positions);
}

void RawStatement::setBlob(const QString &name, const QByteArray &content)
{
    std::vector<unsigned> positions;
    unsigned char *in = parameter(name, SQL_BLOB, positions);
    ISC_QUAD id{};
    Firebird::IBlob *blob = m_attachment->createBlob(&m_status, m_transaction, &id, 0, nullptr);
    for (qsizetype done = 0; done < content.size(); done += 65535) {
        const auto length = unsigned(std::min<qsizetype>(65535, content.size() - done));
        blob->putSegment(&m_status, length, content.constData() + done);
    }
    blob->close(&m_status);   // a successful close releases the blob
    for (unsigned p : positions)
        put<ISC_QUAD>(in + m_parameters[p].offset, id);
    markNotNull(positions);
}

void RawStatement::execute()
{
    m_statement->execute(&m_status, m_transaction, m_input, m_in.data(), m_output, m_out.data());
}

int RawStatement::integer(unsigned column) const
{
    const Column &c = m_columns.at(column);
    ISC_LONG value = 0;
    std::memcpy(&value, row() + c.offset, sizeof value);
    return value;
}

void RawStatement::open()
{
    close();
    m_cursor = m_statement->openCursor(&m_status, m_transaction, m_input, m_in.data(), m_output, 0);
}

bool RawStatement::fetch()
{
    return m_cursor && m_cursor->fetchNext(&m_status, m_out.data()) == Firebird::IStatus::RESULT_OK;
}

void RawStatement::close()
{
    if (!m_cursor)
        return;
    m_cursor->close(&m_status);   // a successful close releases the cursor
    m_cursor = nullptr;
}

std::size_t RawStatement::payload() const
{
    std::size_t bytes = 0;
    for (const Column &c : m_columns) {
        short null = 0;
        std::memcpy(&null, row() + c.nullOffset, sizeof null);
        if (null)
            continue;
        if (c.type == SQL_VARYING) {
            unsigned short length = 0;
            std::memcpy(&length, row() + c.offset, sizeof length);
            bytes += length;
        } else {
            bytes += c.length;   // a blob's length here is its 8-byte id
        }
    }
    return bytes;
}

} // namespace corvadel::bench
