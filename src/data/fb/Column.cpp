#include "data/fb/Column.h"

#include "data/fb/Blob.h"
#include "data/fb/DateTime.h"

#include <ibase.h>

#include <array>
#include <cstring>
#include <stdexcept>

namespace corvadel::fb {

namespace {

constexpr int charSetOctets = 1;

template <typename T>
T load(const unsigned char *where)
{
    T value;
    std::memcpy(&value, where, sizeof value);
    return value;
}

double scaled(qint64 stored, int scale)
{
    static constexpr std::array<double, 19> powers = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    const unsigned digits = unsigned(scale < 0 ? -scale : scale);
    const double power = digits < powers.size() ? powers[digits] : 1.0;
    return scale < 0 ? double(stored) / power : double(stored) * power;
}

} // namespace

bool isNullIn(const Column &column, const unsigned char *row)
{
    return load<ISC_SHORT>(row + column.nullOffset) != 0;
}

QVariant valueIn(const Column &column, const unsigned char *row)
{
    if (isNullIn(column, row))
        return {};
    const unsigned char *data = row + column.offset;
    switch (column.type) {
    case SQL_VARYING: {
        const auto length = load<ISC_USHORT>(data);
        const char *text = reinterpret_cast<const char *>(data + sizeof(ISC_USHORT));
        if (column.charSet == charSetOctets)
            return QByteArray(text, length);
        return QString::fromUtf8(text, length);
    }
    case SQL_SHORT:
        return column.scale ? QVariant(scaled(load<ISC_SHORT>(data), column.scale))
                            : QVariant(int(load<ISC_SHORT>(data)));
    case SQL_LONG:
        return column.scale ? QVariant(scaled(load<ISC_LONG>(data), column.scale))
                            : QVariant(int(load<ISC_LONG>(data)));
    case SQL_INT64:
        return column.scale ? QVariant(scaled(load<ISC_INT64>(data), column.scale))
                            : QVariant(qlonglong(load<ISC_INT64>(data)));
    case SQL_FLOAT:
        return double(load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(data);
    case SQL_TYPE_DATE:
        return decodeDate(load<ISC_DATE>(data));
    case SQL_TYPE_TIME:
        return decodeTime(load<ISC_TIME>(data));
    case SQL_TIMESTAMP:
        return decodeTimestamp(load<ISC_TIMESTAMP>(data));
    case SQL_BLOB:
        return QVariant::fromValue(BlobId{load<ISC_QUAD>(data)});
    case SQL_BOOLEAN:
        return load<FB_BOOLEAN>(data) != 0;
    default:
        throw std::domain_error("column " + column.name.toStdString() + " has a type this program does not read");
    }
}

QMetaType metaTypeOf(const Column &column)
{
    switch (column.type) {
    case SQL_VARYING:
    case SQL_TEXT:
        return column.charSet == charSetOctets ? QMetaType::fromType<QByteArray>()
                                               : QMetaType::fromType<QString>();
    case SQL_SHORT:
    case SQL_LONG:
        return column.scale ? QMetaType::fromType<double>() : QMetaType::fromType<int>();
    case SQL_INT64:
        return column.scale ? QMetaType::fromType<double>() : QMetaType::fromType<qlonglong>();
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return QMetaType::fromType<double>();
    case SQL_TYPE_DATE:
        return QMetaType::fromType<QDate>();
    case SQL_TYPE_TIME:
        return QMetaType::fromType<QTime>();
    case SQL_TIMESTAMP:
        return QMetaType::fromType<QDateTime>();
    case SQL_BLOB:
        return QMetaType::fromType<BlobId>();
    case SQL_BOOLEAN:
        return QMetaType::fromType<bool>();
    default:
        return QMetaType();
    }
}

unsigned bytesPerCharacter(int charSet)
{
    switch (charSet) {
    case 3:  // UNICODE_FSS
        return 3;
    case 4:  // UTF8
    case 69: // GB18030
        return 4;
    case 5:  // SJIS_0208
    case 6:  // EUCJ_0208
    case 44: // KSC_5601
    case 56: // BIG_5
    case 57: // GB_2312
    case 67: // GBK
    case 68: // CP943C
        return 2;
    default: // NONE, OCTETS, ASCII and the single-byte sets
        return 1;
    }
}

} // namespace corvadel::fb
