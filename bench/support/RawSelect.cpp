#include "support/RawSelect.h"

#include "data/fb/Attachment.h"
#include "data/fb/NamedParameters.h"
#include "data/fb/Transaction.h"

#include <cstring>
#include <stdexcept>

namespace corvadel::bench {

RawSelect::RawSelect(fb::Attachment &attachment, fb::Transaction &transaction, const QString &sql)
    : m_transaction(transaction.handle())
{
    const QByteArray positional = fb::rewriteNamedParameters(sql, &m_names).toUtf8();
    m_statement = attachment.handle()->prepare(&m_status, m_transaction, 0, positional.constData(), 3,
                                               Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    m_input = m_statement->getInputMetadata(&m_status);
    m_output = m_statement->getOutputMetadata(&m_status);
    const auto columnsOf = [this](Firebird::IMessageMetadata *metadata) {
        std::vector<Column> columns;
        for (unsigned i = 0; i < metadata->getCount(&m_status); ++i)
            columns.push_back({metadata->getType(&m_status, i) & ~1u, metadata->getLength(&m_status, i),
                               metadata->getOffset(&m_status, i), metadata->getNullOffset(&m_status, i)});
        return columns;
    };
    m_parameters = columnsOf(m_input);
    m_columns = columnsOf(m_output);
    m_in.assign(m_input->getMessageLength(&m_status), 0);
    m_out.resize(m_output->getMessageLength(&m_status) / sizeof(std::max_align_t) + 1);
    for (const Column &p : m_parameters) {
        const short null = -1;
        std::memcpy(m_in.data() + p.nullOffset, &null, sizeof null);
    }
}

RawSelect::~RawSelect()
{
    close();
    if (m_input)
        m_input->release();
    if (m_output)
        m_output->release();
    if (m_statement)
        m_statement->release();
}

void RawSelect::setInteger(const QString &name, int value)
{
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names[i].compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const Column &p = m_parameters[std::size_t(i)];
        if (p.type != SQL_LONG)
            throw std::invalid_argument("only integer parameters are set here");
        const short notNull = 0;
        std::memcpy(m_in.data() + p.offset, &value, sizeof value);
        std::memcpy(m_in.data() + p.nullOffset, &notNull, sizeof notNull);
    }
}

void RawSelect::open()
{
    close();
    m_cursor = m_statement->openCursor(&m_status, m_transaction, m_input, m_in.data(), m_output, 0);
}

bool RawSelect::fetch()
{
    return m_cursor && m_cursor->fetchNext(&m_status, m_out.data()) == Firebird::IStatus::RESULT_OK;
}

void RawSelect::close()
{
    if (!m_cursor)
        return;
    m_cursor->close(&m_status);   // a successful close releases the cursor
    m_cursor = nullptr;
}

std::size_t RawSelect::payload() const
{
    const auto *row = reinterpret_cast<const unsigned char *>(m_out.data());
    std::size_t bytes = 0;
    for (const Column &c : m_columns) {
        short null = 0;
        std::memcpy(&null, row + c.nullOffset, sizeof null);
        if (null)
            continue;
        if (c.type == SQL_VARYING) {
            unsigned short length = 0;
            std::memcpy(&length, row + c.offset, sizeof length);
            bytes += length;
        } else {
            bytes += c.length;   // a blob's length here is its 8-byte id
        }
    }
    return bytes;
}

} // namespace corvadel::bench
