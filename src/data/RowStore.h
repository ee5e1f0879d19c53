#pragma once

#include <QVariant>

#include <memory>
#include <vector>

namespace corvadel::fb {
struct Column;
}

namespace corvadel::data {

// How one select column is kept in a packed row.
enum class ColumnKind : unsigned char { Int16, Int32, Int64, Float, Double, Date, Time, Timestamp, Blob, Boolean, Text };

struct ColumnLayout
{
    ColumnKind kind = ColumnKind::Text;
    int scale = 0;            // negative for NUMERIC/DECIMAL: read as double
    unsigned offset = 0;      // in the statement's output message
    unsigned nullOffset = 0;
};

ColumnLayout layoutOf(const fb::Column &column);

// Rows fetched from a cursor are packed into a compact form and kept in large
// append-only blocks: a null bitmap, then each non-null value (fixed-size
// values as they came, texts as a 16-bit length and UTF-8 bytes). A grid of a
// hundred thousand rows then costs little more than the data itself, and a
// value is decoded only when something shows it.
class RowStore
{
public:
    using Row = const unsigned char *;

    void setLayout(std::vector<ColumnLayout> columns);
    const std::vector<ColumnLayout> &layout() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }

    // Packs a row from a statement's output message.
    Row packMessage(const unsigned char *message);
    // Packs a row from one value per column (null QVariant for NULL).
    Row packValues(const std::vector<QVariant> &values);

    QVariant value(Row row, int column) const;
    void decode(Row row, std::vector<QVariant> &out) const;

    // Drops every packed row; pointers handed out before become invalid.
    void clear();
    std::size_t bytesUsed() const { return m_bytesUsed; }

private:
    unsigned char *allocate(std::size_t size);
    const unsigned char *skipTo(Row row, int column) const;
    static QVariant readAt(const ColumnLayout &column, const unsigned char *data);

    std::vector<ColumnLayout> m_columns;
    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
    std::size_t m_blockUsed = 0;
    std::size_t m_blockSize = 0;
    std::size_t m_bytesUsed = 0;
    std::vector<unsigned char> m_scratch;
};

} // namespace corvadel::data
