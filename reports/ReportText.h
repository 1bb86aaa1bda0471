#pragma once

#include <QString>

// Shortens a text longer than limit + 2 characters to its first limit - 3 characters and "...";
// true when it did.
bool ShortenWithEllipsis(QString& text, int limit);

// The text with carriage returns dropped and each line feed written "<br />".
QString LineBreaksToHtml(const QString& text);

// A time (seconds since 1970) in local time with a strftime format of the string table; empty
// when the time cannot be converted.
QString FormatLocalTime(qint64 time, const QString& format);

// The local midnight that starts the day of the time.
qint64 LocalMidnight(qint64 time);

// A value of a submitted form or an address: "+" is a blank, "%" and two hexadecimal digits a
// byte, anything else stays; the bytes are read as UTF-8.
QString DecodeFormValue(const QString& text);
