#include "base/LocalTime.h"

#include <QTimeZone>

namespace
{
// The fields of a local time in a daylight-saving gap, taken as the system clock reads them:
// with the offset in force before the gap, which moves them forward by the gap.
QDateTime ResolveLocalGap(const QDate& date, const QTime& time)
{
    const QDateTime asUtc(date, time, QTimeZone::utc());
    const int offsetBefore = asUtc.addDays(-1).toLocalTime().offsetFromUtc();
    return asUtc.addSecs(-offsetBefore).toLocalTime();
}
} // namespace

CLocalTime CLocalTime::FromDateTime(const QDateTime& time)
{
    if (time.isValid())
    {
        const QDateTime local = time.toLocalTime();
        return CLocalTime(local.date(), local.time());
    }
    // Invalid with valid fields: a local time inside a daylight-saving gap.
    if (time.timeSpec() == Qt::LocalTime && time.date().isValid() && time.time().isValid())
        return CLocalTime(time.date(), time.time());
    return CLocalTime();
}

QDateTime CLocalTime::ToDateTime() const
{
    if (IsNull())
        return QDateTime();
    const QDateTime time(m_date, m_time);
    return time.isValid() ? time : ResolveLocalGap(m_date, m_time);
}
