#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <ibase.h>

namespace corvadel::fb {

// Conversions between the server's date and time encodings and Qt's, through
// the client library's own codecs. Server times count 1/10000 s; Qt keeps
// milliseconds, so the last digit of a server time is dropped on decoding.

QDate decodeDate(ISC_DATE date);
ISC_DATE encodeDate(QDate date); // date must be valid

QTime decodeTime(ISC_TIME time);
ISC_TIME encodeTime(QTime time); // time must be valid

// A server timestamp carries no time zone; it is read as local time.
QDateTime decodeTimestamp(const ISC_TIMESTAMP &timestamp);
ISC_TIMESTAMP encodeTimestamp(const QDateTime &dateTime); // dateTime must be valid

} // namespace corvadel::fb
