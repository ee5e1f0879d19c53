#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

namespace corvadel::fb {

// One column of a statement's output row (also used for its parameters), as
// the server describes it after this layer's coercions: CHAR comes as
// VARCHAR of the same byte length (the server trims the padding of multibyte
// characters, so CHAR(3) 'No ' reads back as exactly those three characters).
struct Column
{
    QString name;      // the alias, as the select names it
    QString field;     // the underlying column, empty for an expression
    QString relation;  // the underlying table, empty for an expression
    unsigned type = 0; // SQL_xxx from ibase.h, the nullable bit stripped
    int subType = 0;   // blobs: 1 = text
    int scale = 0;     // exact numerics: value = stored integer * 10^scale
    unsigned length = 0;     // bytes in the message (text: the maximum, without the length word)
    unsigned charLength = 0; // text: characters the column holds; 0 for other types
    unsigned offset = 0;     // of the value in the row buffer
    unsigned nullOffset = 0; // of the 16-bit null indicator in the row buffer
    int charSet = 0;         // text: character set id (4 = UTF8, 1 = OCTETS, 0 = NONE)
    bool nullable = true;
    bool fixedLength = false; // declared CHAR (before the coercion to VARCHAR)
};

// Decoding of one value of a raw row in the layout the columns describe;
// Statement::value() uses these on its current row, and a dataset that keeps
// copies of raw rows can use them on its copies.
bool isNullIn(const Column &column, const unsigned char *row);

// The value with the type metaTypeOf() names: int (SMALLINT, INTEGER),
// qlonglong (BIGINT), double (scaled numerics, FLOAT, DOUBLE PRECISION),
// QString (text; QByteArray for OCTETS), QDate, QTime, QDateTime
// (TIMESTAMP), BlobId (blobs), bool (BOOLEAN). An invalid QVariant for NULL.
// Throws std::domain_error for a type this layer does not read (arrays).
QVariant valueIn(const Column &column, const unsigned char *row);

QMetaType metaTypeOf(const Column &column);

// Bytes per character of a character set, for turning byte lengths into
// character counts.
unsigned bytesPerCharacter(int charSet);

} // namespace corvadel::fb
