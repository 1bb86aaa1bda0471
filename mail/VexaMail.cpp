#include "mail/VexaMail.h"

#include "base/AnsiCodePage.h"
#include "mail/MailText.h"

#include <QUuid>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

namespace
{
const QString DefaultMailerText = QStringLiteral("Talvecor VaziRuzuro 1.0 (www.talvecor.com)");

// Letters, the blank and ' ( ) + , - / : ? stand for themselves in a quoted-printable body;
// every other byte, digits and "." included, is escaped, so no body line can start a command.
bool IsBodyLiteral(unsigned char byte)
{
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'))
        return true;
    switch (byte)
    {
    case ' ':
    case '\'':
    case '(':
    case ')':
    case '+':
    case ',':
    case '-':
    case '/':
    case ':':
    case '?':
        return true;
    default:
        return false;
    }
}

// Inside encoded words only what RFC 2047 allows in a phrase stays literal, so an encoded
// display name cannot be read as comments, address lists or a group.
bool IsWordLiteral(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '+' || byte == '-' ||
           byte == '/';
}

void AppendEscaped(QByteArray& output, unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    output += '=';
    output += digits[byte >> 4];
    output += digits[byte & 0x0F];
}

void EscapeTrailingBlank(QByteArray& output)
{
    if (output.endsWith(' '))
    {
        output.chop(1);
        output += "=20";
    }
}

// The bytes of one character: its ISO-8859-1 byte, or its UTF-8 sequence (a surrogate without
// its partner as the replacement character).
int CharacterBytes(const QString& text, qsizetype& index, bool latin1, unsigned char* bytes)
{
    const QChar c = text.at(index);
    if (latin1)
    {
        bytes[0] = static_cast<unsigned char>(c.unicode());
        return 1;
    }
    char32_t code = c.unicode();
    if (c.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        code = QChar::surrogateToUcs4(c, text.at(++index));
    else if (c.isSurrogate())
        code = QChar::ReplacementCharacter;
    if (code < 0x80)
    {
        bytes[0] = static_cast<unsigned char>(code);
        return 1;
    }
    if (code < 0x800)
    {
        bytes[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000)
    {
        bytes[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
    bytes[1] = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
    bytes[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    return 4;
}

// Encoded words of at most 75 characters each, joined by folds; a character's bytes always
// stay in one word.
QString EncodeWords(const QString& value, bool latin1)
{
    constexpr qsizetype MaxWordLength = 75;
    const QByteArray prefix = latin1 ? "=?iso-8859-1?Q?" : "=?utf-8?Q?";
    const QByteArray suffix = "?=";
    const qsizetype room = MaxWordLength - prefix.size() - suffix.size();
    QByteArray output = prefix;
    output.reserve(value.size() * 4);
    qsizetype wordLength = 0;
    for (qsizetype i = 0; i < value.size(); ++i)
    {
        unsigned char bytes[4];
        const int count = CharacterBytes(value, i, latin1, bytes);
        qsizetype pieceLength = 0;
        for (int b = 0; b < count; ++b)
            pieceLength += IsWordLiteral(bytes[b]) ? 1 : 3;
        if (wordLength > 0 && wordLength + pieceLength > room)
        {
            output += suffix + "\r\n\t" + prefix;
            wordLength = 0;
        }
        for (int b = 0; b < count; ++b)
        {
            if (IsWordLiteral(bytes[b]))
                output += static_cast<char>(bytes[b]);
            else
                AppendEscaped(output, bytes[b]);
        }
        wordLength += pieceLength;
    }
    output += suffix;
    return QString::fromLatin1(output);
}

// A display name that is plain ASCII goes out as it is unless it holds characters that would
// change how the From line parses; then it becomes a quoted string.
QString FormatDisplayName(const QString& name)
{
    if (!IsPrintableAscii(name) || name.size() >= 70)
        return CVexaMail::EncodeHeaderWord(name);
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    const bool plain = std::none_of(name.begin(), name.end(), [](QChar c) { return specials.contains(c); }) &&
                       !name.contains(QLatin1String("=?"));
    if (plain)
        return name;
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

std::mt19937& BoundaryGenerator()
{
    thread_local std::mt19937 generator;
    return generator;
}
} // namespace

CVexaMail::CVexaMail(const QString& ehloDomain, const QString& server, int port, const QString& userName,
                     const QString& password)
    : m_ehloDomain(ehloDomain), m_server(server), m_port(port), m_userName(userName), m_password(password),
      m_mailerText(DefaultMailerText)
{
}

CVexaMail::CVexaMail(const CVexaMail& other)
{
    CopyFrom(other);
}

CVexaMail& CVexaMail::operator=(const CVexaMail& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CVexaMail::~CVexaMail() = default;

void CVexaMail::CopyFrom(const CVexaMail& other)
{
    m_ehloDomain = other.m_ehloDomain;
    m_server = other.m_server;
    m_port = other.m_port;
    m_userName = other.m_userName;
    m_password = other.m_password;
    m_mailerText = other.m_mailerText;
    MessageId = other.MessageId;
    m_organization = other.m_organization;
    m_replyTo = other.m_replyTo;
    m_plainTextBody = other.m_plainTextBody;
    m_htmlBody = other.m_htmlBody;
    ClearParts();
    for (const auto& part : other.m_parts)
        m_parts.push_back(std::make_unique<CMailPart>(*part));
}

void CVexaMail::AddMessageHeaders(CMailPart& topPart, const QString& fromAddress, const QString& fromName,
                                  const QString& toAddress, const QString& subject, int importance) const
{
    const QString address = QLatin1Char('<') + fromAddress + QLatin1Char('>');
    topPart.SetHeader(CMailHeader::To, toAddress);
    topPart.SetHeader(CMailHeader::From, fromName.isEmpty()
                                             ? address
                                             : FormatDisplayName(fromName) + QLatin1Char(' ') + address);
    topPart.SetHeader(CMailHeader::Subject, EncodeHeaderWord(subject));
    topPart.SetHeader(CMailHeader::Date, FormatDate(std::time(nullptr)));
    topPart.SetHeader(CMailHeader::MessageId,
                      QStringLiteral("<%1@%2>").arg(QUuid::createUuid().toString(QUuid::WithoutBraces),
                                                    MessageIdDomain(fromAddress)));
    if (importance == 1)
        topPart.SetHeader(CMailHeader::Importance, QStringLiteral("High"));
    else if (importance == 2)
        topPart.SetHeader(CMailHeader::Importance, QStringLiteral("Low"));
    topPart.SetHeader(CMailHeader::XMailer, m_mailerText);
    if (!MessageId.isEmpty())
        topPart.SetHeader(CMailHeader::XKVMessageId, QLatin1Char('<') + MessageId + QLatin1Char('>'));
    if (!m_organization.isEmpty())
        topPart.SetHeader(CMailHeader::Organization, EncodeHeaderWord(m_organization));
    const QString replyTo = m_replyTo.trimmed();
    if (IsPlainMailAddress(replyTo))
        topPart.SetHeader(CMailHeader::ReplyTo, replyTo);
}

QString CVexaMail::MessageIdDomain(const QString& fromAddress) const
{
    QString domain = m_ehloDomain.trimmed();
    if (domain.isEmpty() && fromAddress.contains(QLatin1Char('@')))
        domain = fromAddress.mid(fromAddress.indexOf(QLatin1Char('@')) + 1);
    QString kept;
    for (const QChar c : domain)
    {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.' ||
            c == u'-')
            kept += c;
    }
    return kept.isEmpty() ? QStringLiteral("localhost") : kept;
}

QString CVexaMail::MakeBoundarySeed()
{
    // Seeded anew with the second for every message: boundaries only need to differ from the
    // encoded bodies, which can never hold "_----------=_".
    std::mt19937& generator = BoundaryGenerator();
    generator.seed(static_cast<std::mt19937::result_type>(std::time(nullptr)));
    std::uniform_int_distribution<int> value(0, 32767);
    const int first = value(generator);
    const int second = value(generator);
    const int third = value(generator);
    return QStringLiteral("_Part_%1%2%3")
        .arg(third)
        .arg(QString::number(second, 16).toUpper().rightJustified(3, QLatin1Char('0')))
        .arg(first);
}

QString CVexaMail::MakeBoundary(int level, const QString& seed)
{
    return QStringLiteral("_----------=_%1_%2").arg(level, 3, 10, QLatin1Char('0')).arg(seed);
}

QString CVexaMail::MakeBoundaryLine(int level, const QString& seed)
{
    return QStringLiteral("--") + MakeBoundary(level, seed);
}

QString CVexaMail::MakeBoundaryEndLine(int level, const QString& seed)
{
    return MakeBoundaryLine(level, seed) + QStringLiteral("--");
}

QString CVexaMail::FormatDate(std::time_t moment)
{
    static const std::array<const char*, 7> days = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const std::array<const char*, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm utc{};
    gmtime_r(&moment, &utc);
    char text[64];
    std::snprintf(text, sizeof(text), "%s, %d %s %04d %02d:%02d:%02d +0000", days.at(utc.tm_wday),
                  utc.tm_mday, months.at(utc.tm_mon), utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                  utc.tm_sec);
    return QString::fromLatin1(text);
}

QString CVexaMail::EncodeQP(const QString& text, int maximum, const QString& prefix, const QString& suffix,
                            const QString& lineBreak, bool ansi)
{
    const QByteArray bytes = ansi ? AnsiCodePage::FromText(text) : text.toUtf8();
    if (bytes.isEmpty())
        return {};
    const QByteArray breakBytes = lineBreak.toLatin1();
    QByteArray output = prefix.toLatin1();
    output.reserve(output.size() + bytes.size() * 3 + suffix.size());
    int counter = 0;
    for (const char c : bytes)
    {
        if (counter >= maximum)
        {
            counter = 0;
            EscapeTrailingBlank(output);
            output += breakBytes;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (IsBodyLiteral(byte))
        {
            output += c;
            counter += 1;
        }
        else
        {
            AppendEscaped(output, byte);
            counter += 3;
        }
    }
    EscapeTrailingBlank(output);
    return QString::fromLatin1(output) + suffix;
}

QString CVexaMail::EncodeQPLine(const QString& line, bool ansi)
{
    return EncodeQP(line, 70, QString(), QString(), QStringLiteral("=\r\n"), ansi);
}

QString CVexaMail::EncodeQPBody(const QString& text, bool ansi)
{
    QString encoded;
    qsizetype position = 0;
    for (;;)
    {
        const qsizetype end = text.indexOf(QLatin1String("\r\n"), position);
        if (end < 0)
            break;
        encoded += EncodeQPLine(text.mid(position, end - position), ansi);
        encoded += QLatin1String("\r\n");
        position = end + 2;
    }
    if (position < text.size())
        encoded += EncodeQPLine(text.mid(position), ansi);
    return encoded;
}

QString CVexaMail::EncodeHeaderWord(const QString& value)
{
    if (value.isEmpty() || (IsPrintableAscii(value) && value.size() < 70))
        return value;
    return EncodeWords(value, IsLatin1Text(value));
}
