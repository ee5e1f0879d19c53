#include "data/RowStore.h"

#include "data/fb/Blob.h"
#include "data/fb/Statement.h"

#include <ibase.h>

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstring>

namespace corvadel::data {

namespace {

constexpr std::size_t BlockSize = 256 * 1024;

// Firebird counts days from 17 November 1858 and times in 1/10000 seconds.
const qint64 FirebirdEpochJulianDay = QDate(1858, 11, 17).toJulianDay();

QDate toDate(qint32 days) { return QDate::fromJulianDay(FirebirdEpochJulianDay + days); }
QTime toTime(quint32 units) { return QTime::fromMSecsSinceStartOfDay(int(units / 10)); }
qint32 fromDate(const QDate &d) { return qint32(d.toJulianDay() - FirebirdEpochJulianDay); }
quint32 fromTime(const QTime &t) { return quint32(t.msecsSinceStartOfDay()) * 10; }

unsigned fixedSize(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Int16: return 2;
    case ColumnKind::Int32: return 4;
    case ColumnKind::Int64: return 8;
    case ColumnKind::Float: return 4;
    case ColumnKind::Double: return 8;
    case ColumnKind::Date: return 4;
    case ColumnKind::Time: return 4;
    case ColumnKind::Timestamp: return 8;
    case ColumnKind::Blob: return 8;
    case ColumnKind::Boolean: return 1;
    case ColumnKind::Text: return 0;
    }
    return 0;
}

template<typename T> T load(const unsigned char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template<typename T> void store(std::vector<unsigned char> &out, T v)
{
    const auto *p = reinterpret_cast<const unsigned char *>(&v);
    out.insert(out.end(), p, p + sizeof v);
}

double scaled(qint64 v, int scale)
{
    double d = double(v);
    for (int i = 0; i < -scale; ++i)
        d /= 10.0;
    return d;
}

} // namespace

ColumnLayout layoutOf(const fb::Column &column)
{
    ColumnLayout c;
    c.offset = column.offset;
    c.nullOffset = column.nullOffset;
    c.scale = column.scale;
    switch (column.type) {
    case SQL_SHORT: c.kind = ColumnKind::Int16; break;
    case SQL_LONG: c.kind = ColumnKind::Int32; break;
    case SQL_INT64: c.kind = ColumnKind::Int64; break;
    case SQL_FLOAT: c.kind = ColumnKind::Float; break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT: c.kind = ColumnKind::Double; break;
    case SQL_TYPE_DATE: c.kind = ColumnKind::Date; break;
    case SQL_TYPE_TIME: c.kind = ColumnKind::Time; break;
    case SQL_TIMESTAMP: c.kind = ColumnKind::Timestamp; break;
    case SQL_BLOB: c.kind = ColumnKind::Blob; break;
    case SQL_BOOLEAN: c.kind = ColumnKind::Boolean; break;
    default: c.kind = ColumnKind::Text; break;
    }
    return c;
}

void RowStore::setLayout(std::vector<ColumnLayout> columns)
{
    clear();
    m_columns = std::move(columns);
}

void RowStore::clear()
{
    m_blocks.clear();
    m_blockUsed = 0;
    m_blockSize = 0;
    m_bytesUsed = 0;
}

unsigned char *RowStore::allocate(std::size_t size)
{
    if (m_blocks.empty() || m_blockUsed + size > m_blockSize) {
        m_blockSize = std::max(BlockSize, size);
        m_blocks.push_back(std::make_unique_for_overwrite<unsigned char[]>(m_blockSize));
        m_blockUsed = 0;
    }
    unsigned char *p = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += size;
    m_bytesUsed += size;
    return p;
}

RowStore::Row RowStore::packMessage(const unsigned char *message)
{
    const std::size_t n = m_columns.size();
    const std::size_t bitmapSize = (n + 7) / 8;
    m_scratch.assign(bitmapSize, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const ColumnLayout &c = m_columns[i];
        if (load<short>(message + c.nullOffset) != 0) {
            m_scratch[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
            continue;
        }
        const unsigned char *src = message + c.offset;
        if (c.kind == ColumnKind::Text) {
            const auto length = load<unsigned short>(src);
            m_scratch.insert(m_scratch.end(), src, src + 2 + length);
        } else {
            m_scratch.insert(m_scratch.end(), src, src + fixedSize(c.kind));
        }
    }
    unsigned char *row = allocate(m_scratch.size());
    std::memcpy(row, m_scratch.data(), m_scratch.size());
    return row;
}

RowStore::Row RowStore::packValues(const std::vector<QVariant> &values)
{
    const std::size_t n = m_columns.size();
    const std::size_t bitmapSize = (n + 7) / 8;
    m_scratch.assign(bitmapSize, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const QVariant &v = i < values.size() ? values[i] : QVariant();
        const ColumnLayout &c = m_columns[i];
        if (v.isNull() || !v.isValid()) {
            m_scratch[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
            continue;
        }
        switch (c.kind) {
        case ColumnKind::Int16:
            store(m_scratch, qint16(c.scale < 0 ? qRound64(v.toDouble() * std::pow(10, -c.scale)) : v.toInt()));
            break;
        case ColumnKind::Int32:
            store(m_scratch, qint32(c.scale < 0 ? qRound64(v.toDouble() * std::pow(10, -c.scale)) : v.toInt()));
            break;
        case ColumnKind::Int64:
            store(m_scratch, qint64(c.scale < 0 ? qRound64(v.toDouble() * std::pow(10, -c.scale)) : v.toLongLong()));
            break;
        case ColumnKind::Float: store(m_scratch, float(v.toDouble())); break;
        case ColumnKind::Double: store(m_scratch, v.toDouble()); break;
        case ColumnKind::Date: store(m_scratch, fromDate(v.toDate())); break;
        case ColumnKind::Time: store(m_scratch, fromTime(v.toTime())); break;
        case ColumnKind::Timestamp: {
            const QDateTime dt = v.toDateTime();
            store(m_scratch, fromDate(dt.date()));
            store(m_scratch, fromTime(dt.time()));
            break;
        }
        case ColumnKind::Blob: {
            const ISC_QUAD id = v.value<fb::BlobId>().id;
            store(m_scratch, id);
            break;
        }
        case ColumnKind::Boolean: store(m_scratch, static_cast<unsigned char>(v.toBool() ? 1 : 0)); break;
        case ColumnKind::Text: {
            const QByteArray utf8 = v.toString().toUtf8().left(0xFFFF);
            store(m_scratch, static_cast<unsigned short>(utf8.size()));
            m_scratch.insert(m_scratch.end(), utf8.begin(), utf8.end());
            break;
        }
        }
    }
    unsigned char *row = allocate(m_scratch.size());
    std::memcpy(row, m_scratch.data(), m_scratch.size());
    return row;
}

const unsigned char *RowStore::skipTo(Row row, int column) const
{
    const unsigned char *p = row + (m_columns.size() + 7) / 8;
    for (int i = 0; i < column; ++i) {
        if (row[i / 8] & (1u << (i % 8)))
            continue;
        const ColumnLayout &c = m_columns[std::size_t(i)];
        p += c.kind == ColumnKind::Text ? 2 + load<unsigned short>(p) : fixedSize(c.kind);
    }
    return p;
}

QVariant RowStore::readAt(const ColumnLayout &c, const unsigned char *p)
{
    switch (c.kind) {
    case ColumnKind::Int16:
        return c.scale < 0 ? QVariant(scaled(load<qint16>(p), c.scale)) : QVariant(int(load<qint16>(p)));
    case ColumnKind::Int32:
        return c.scale < 0 ? QVariant(scaled(load<qint32>(p), c.scale)) : QVariant(int(load<qint32>(p)));
    case ColumnKind::Int64:
        return c.scale < 0 ? QVariant(scaled(load<qint64>(p), c.scale)) : QVariant(load<qint64>(p));
    case ColumnKind::Float: return double(load<float>(p));
    case ColumnKind::Double: return load<double>(p);
    case ColumnKind::Date: return toDate(load<qint32>(p));
    case ColumnKind::Time: return toTime(load<quint32>(p));
    case ColumnKind::Timestamp: return QDateTime(toDate(load<qint32>(p)), toTime(load<quint32>(p + 4)));
    case ColumnKind::Blob: return QVariant::fromValue(fb::BlobId{load<ISC_QUAD>(p)});
    case ColumnKind::Boolean: return bool(*p);
    case ColumnKind::Text: {
        const auto length = load<unsigned short>(p);
        return QString::fromUtf8(reinterpret_cast<const char *>(p + 2), length);
    }
    }
    return {};
}

QVariant RowStore::value(Row row, int column) const
{
    if (!row || column < 0 || column >= columnCount())
        return {};
    if (row[column / 8] & (1u << (column % 8)))
        return {};
    return readAt(m_columns[std::size_t(column)], skipTo(row, column));
}

void RowStore::decode(Row row, std::vector<QVariant> &out) const
{
    out.assign(m_columns.size(), QVariant());
    if (!row)
        return;
    const unsigned char *p = row + (m_columns.size() + 7) / 8;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (row[i / 8] & (1u << (i % 8)))
            continue;
        const ColumnLayout &c = m_columns[i];
        out[i] = readAt(c, p);
        p += c.kind == ColumnKind::Text ? 2 + load<unsigned short>(p) : fixedSize(c.kind);
    }
}

} // namespace corvadel::data
