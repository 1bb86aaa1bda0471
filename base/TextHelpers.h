#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Keeps the letters, digits and '_' of the text, and the extra characters given; Swedish
// vowels lose their marks first (a ring and a umlaut become a, o umlaut becomes o).
QString MakeIdentifier(const QString& text, const QString& extra = {});

bool IsValidEmailAddress(const QString& text);

// Appends the pieces between occurrences of the separator; a text that ends in a separator
// yields a final empty piece, an empty text none.
void SplitString(const QString& text, QStringList& pieces, const QString& separator);

// A text of the string table with its fields filled in order: each "%s" or "%d" takes the next
// argument, "%%" is a percent sign. A field without an argument stays as written, so a
// translation with a field too many shows it instead of reading past the arguments.
QString FormatResourceText(const QString& format, const QStringList& arguments);

// Percent-encodes the UTF-8 bytes of the text, keeping only A-Z, a-z, '-', '.', '_' and '~'.
QString UrlEncodeUtf8(const QString& text);

// Reads "year,month,day,hour,minute,second" as a local time; false for anything else.
bool ParseDateTimeList(QDateTime& time, const QString& text);

// The text halves of moving numbers between an edit control and a variable. Numbers shown to
// the user follow the locale's decimal separator; a float shows at most three decimals,
// without trailing zeros.
int ParseIntText(const QString& text);
QString FormatIntText(int value);
float ParseFloatText(const QString& text);
QString FormatFloatText(float value);

// Opens a file or an address with the desktop's default application; always true.
bool OpenWithShell(const QString& fileOrUrl);
// Opens a page of the store (GetStoreAddress): 1 "visit", 2 "support", 3 "smtpserverlist";
// false for any other command and when no store is set.
bool OpenOnlinePage(int command);
// Starts the intro program of the language; false when it is missing or cannot start.
bool RunIntroMovie(const QString& languageCode);
