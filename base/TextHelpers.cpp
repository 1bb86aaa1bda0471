#include "base/TextHelpers.h"

#include "base/AppSettings.h"
#include "platform/core/AppStrings.h"
#include "platform/core/LeadingInt.h"
#include "platform/core/Shell.h"

#include <QLocale>
#include <QRegularExpression>

#include <ctime>
#include <utility>

namespace
{
bool IsAsciiLetterOrDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

QChar LocaleDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point[0] : QChar(u'.');
}

// The store page of a command, through the store's redirect page that sends each command to the
// page that serves it; empty for an unknown command or without a store.
QString OnlinePageUrl(int command)
{
    static const char* const words[] = {"visit", "support", "smtpserverlist"};
    const QString store = GetStoreAddress();
    if (command < 1 || command > 3 || store.isEmpty())
        return {};
    const QString language = GetLanguageCode();
    quint32 messageId = 0;
    ReadAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("OnlineMessageLastId_") + language, messageId);
    return store + QStringLiteral("/kv/via.asp?lang=") + language + QStringLiteral("&msgid=") +
           QString::number(messageId) + QStringLiteral("&elapsed=0&cmd=") +
           QString::fromLatin1(words[command - 1]);
}
} // namespace

QString MakeIdentifier(const QString& text, const QString& extra)
{
    QString result;
    result.reserve(text.size());
    static constexpr std::pair<char16_t, char16_t> unmarked[] = {
        {u'\u00E5', u'a'}, {u'\u00E4', u'a'}, {u'\u00F6', u'o'},
        {u'\u00C5', u'A'}, {u'\u00C4', u'A'}, {u'\u00D6', u'O'},
    };
    for (QChar c : text)
    {
        for (const auto& [marked, plain] : unmarked)
        {
            if (c == marked)
                c = plain;
        }
        if (IsAsciiLetterOrDigit(c) || c == u'_' || extra.contains(c))
            result += c;
    }
    return result;
}

bool IsValidEmailAddress(const QString& text)
{
    // Local part with '+' and '\'' (tagged and Irish names are common); domain labels must not
    // be empty; the last label is letters only. Both letter cases are in the ranges, so the
    // pattern needs no case folding (which would let other scripts' letters through).
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(R"([a-zA-Z0-9._%+'\-]+@(?:[a-zA-Z0-9\-]+\.)+[a-zA-Z]+)")));
    return pattern.match(text).hasMatch();
}

void SplitString(const QString& text, QStringList& pieces, const QString& separator)
{
    if (text.isEmpty())
        return;
    if (separator.isEmpty())
    {
        pieces.append(text);
        return;
    }
    qsizetype position = 0;
    for (qsizetype found; (found = text.indexOf(separator, position)) >= 0;)
    {
        pieces.append(text.mid(position, found - position));
        position = found + separator.size();
    }
    // Also the empty rest after a final separator, which a text ending in one yields.
    pieces.append(text.mid(position));
}

QString UrlEncodeUtf8(const QString& text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    QString encoded;
    for (char c : text.toUtf8())
    {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '-' || byte == '.' ||
            byte == '_' || byte == '~')
        {
            encoded += QChar(byte);
        }
        else
        {
            encoded += u'%';
            encoded += QChar(Hex[byte >> 4]);
            encoded += QChar(Hex[byte & 0x0F]);
        }
    }
    return encoded;
}

bool ParseDateTimeList(QDateTime& time, const QString& text)
{
    QStringList pieces;
    SplitString(text.trimmed(), pieces, QStringLiteral(","));
    if (pieces.size() != 6)
        return false;
    int fields[6];
    for (int i = 0; i < 6; ++i)
        fields[i] = ReadLeadingInt(pieces[i]);
    const auto [year, month, day, hour, minute, second] = fields;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;

    // The C library normalises like the rest of the program expects: 30 February is 2 March,
    // and it decides daylight saving time for the local zone.
    std::tm fieldsTm{};
    fieldsTm.tm_year = year - 1900;
    fieldsTm.tm_mon = month - 1;
    fieldsTm.tm_mday = day;
    fieldsTm.tm_hour = hour;
    fieldsTm.tm_min = minute;
    fieldsTm.tm_sec = second;
    fieldsTm.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&fieldsTm);
    // Later years are beyond what stored times have ever held.
    if (fieldsTm.tm_year + 1900 > 3000)
        return false;
    time = QDateTime::fromSecsSinceEpoch(seconds);
    return true;
}

int ParseIntText(const QString& text)
{
    return ReadLeadingInt(text);
}

QString FormatResourceText(const QString& format, const QStringList& arguments)
{
    QString text;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i)
    {
        const QChar c = format.at(i);
        const QChar field = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (c == u'%' && field == u'%')
        {
            text += u'%';
            ++i;
        }
        else if (c == u'%' && (field == u's' || field == u'd') && next < arguments.size())
        {
            text += arguments.at(next++);
            ++i;
        }
        else
        {
            text += c;
        }
    }
    return text;
}

QString FormatIntText(int value)
{
    return QString::number(value);
}

float ParseFloatText(const QString& text)
{
    // Like the C library's conversion: the longest leading number in the locale's form.
    const QChar point = LocaleDecimalPoint();
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    QString number;
    auto takeDigits = [&]
    {
        bool any = false;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, any = true)
            number += text[i];
        return any;
    };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number += text[i++];
    bool digits = takeDigits();
    if (i < text.size() && text[i] == point)
    {
        number += u'.';
        ++i;
        digits = takeDigits() || digits;
    }
    if (!digits)
        return 0.0f;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E'))
    {
        const qsizetype mark = i;
        QString exponent = QStringLiteral("e");
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            exponent += text[i++];
        const qsizetype exponentStart = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            exponent += text[i++];
        if (i > exponentStart)
            number += exponent;
        else
            i = mark;
    }
    return float(number.toDouble());
}

QString FormatFloatText(float value)
{
    QString text = QString::number(double(value), 'f', 3);
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
    {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.size() == point + 1)
            text.chop(1);
        else
            text[point] = LocaleDecimalPoint();
    }
    return text;
}

bool OpenWithShell(const QString& fileOrUrl)
{
    ShellOpen(fileOrUrl);
    return true;
}

bool OpenOnlinePage(int command)
{
    const QString url = OnlinePageUrl(command);
    if (url.isEmpty())
        return false;
    return OpenWithShell(url);
}

bool RunIntroMovie(const QString& languageCode)
{
    return StartDetachedProcess(GetIntroFolder() + languageCode + QStringLiteral("/intro.exe"));
}
