#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// A time as the local clock shows it: date and time of day, the form in which archives store
// times. Turning it into a QDateTime asks the system for the local zone, which costs a system
// call each time, so stored times stay in this form until someone asks for the point in time.
class CLocalTime
{
public:
    // The null time.
    CLocalTime() = default;
    CLocalTime(const QDate& date, const QTime& time) : m_date(date), m_time(time) {}

    // The local clock's reading of the time. A local time inside a daylight-saving gap (which
    // QDateTime holds as invalid) keeps its fields; any other invalid time gives the null time.
    static CLocalTime FromDateTime(const QDateTime& time);

    bool IsNull() const { return !m_date.isValid() || !m_time.isValid(); }
    const QDate& GetDate() const { return m_date; }
    const QTime& GetTime() const { return m_time; }

    // The local time; one inside a daylight-saving gap is moved forward by the gap, as the
    // system clock would show it. A null QDateTime for the null time.
    QDateTime ToDateTime() const;

private:
    QDate m_date;
    QTime m_time;
};
