#include "data/fb/DateTime.h"

#include "data/fb/Master.h"

namespace corvadel::fb {

namespace {
constexpr unsigned fractionsPerMillisecond = ISC_TIME_SECONDS_PRECISION / 1000;
}

QDate decodeDate(ISC_DATE date)
{
    unsigned year = 0, month = 0, day = 0;
    util()->decodeDate(date, &year, &month, &day);
    return QDate(int(year), int(month), int(day));
}

ISC_DATE encodeDate(QDate date)
{
    return util()->encodeDate(unsigned(date.year()), unsigned(date.month()), unsigned(date.day()));
}

QTime decodeTime(ISC_TIME time)
{
    unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
    util()->decodeTime(time, &hours, &minutes, &seconds, &fractions);
    return QTime(int(hours), int(minutes), int(seconds), int(fractions / fractionsPerMillisecond));
}

ISC_TIME encodeTime(QTime time)
{
    return util()->encodeTime(unsigned(time.hour()), unsigned(time.minute()), unsigned(time.second()),
                              unsigned(time.msec()) * fractionsPerMillisecond);
}

QDateTime decodeTimestamp(const ISC_TIMESTAMP &timestamp)
{
    return QDateTime(decodeDate(timestamp.timestamp_date), decodeTime(timestamp.timestamp_time));
}

ISC_TIMESTAMP encodeTimestamp(const QDateTime &dateTime)
{
    ISC_TIMESTAMP result;
    result.timestamp_date = encodeDate(dateTime.date());
    result.timestamp_time = encodeTime(dateTime.time());
    return result;
}

} // namespace corvadel::fb
