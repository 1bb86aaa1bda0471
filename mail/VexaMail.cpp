#include "mail/VexaMail.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "base/AnsiCodePage.h"
#include "base/Base64.h"
#include "mail/Base64Encode.h"
#include "mail/MailError.h"
#include "mail/MailOutput.h"
#include "mail/MailSocket.h"
#include "mail/MailText.h"
#include "mail/NtlmHelper.h"
#include "mail/QuotedPrintable.h"
#include "mail/SmtpDataOutput.h"
#include "platform/gui/WaitCursor.h"
#include "platform/net/HttpFile.h"
#include "platform/net/InternetSession.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryFile>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

namespace
{
const QString DefaultMailerText = QStringLiteral("Talvecor VaziRuzuro 1.0 (www.talvecor.com)");

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

// RFC 2047 keeps every line that holds an encoded word within 76 characters.
constexpr qsizetype MaxEncodedLine = 76;
constexpr qsizetype MaxWordLength = 75;

// Encoded words of at most 75 characters each, joined by folds; the first one ends within the
// given length. A character's bytes always stay in one word.
QString EncodeWords(const QString& value, bool latin1, qsizetype firstWordLength)
{
    const QByteArray prefix = latin1 ? "=?iso-8859-1?Q?" : "=?utf-8?Q?";
    const QByteArray suffix = "?=";
    qsizetype room = firstWordLength - prefix.size() - suffix.size();
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
            room = MaxWordLength - prefix.size() - suffix.size();
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

// The length of the last line of a value that starts after so many characters of its first line.
qsizetype LastLineLength(const QString& value, qsizetype used)
{
    const qsizetype fold = value.lastIndexOf(QLatin1String("\r\n"));
    return fold < 0 ? used + value.size() : value.size() - fold - 2;
}

// Control characters of a text that becomes a header value are blanks: encoded, they would
// reach the reader as line breaks inside a subject or a name.
QString BlankControls(const QString& text)
{
    QString blanked = text;
    for (QChar& c : blanked)
    {
        if (c.unicode() < 32 || c.unicode() == 127)
            c = u' ';
    }
    return blanked;
}

// An RFC 5322 quoted string: whatever the value holds, it stays one word.
QString QuotedString(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString QuotedParameter(const QString& attribute, const QString& value)
{
    return attribute + QLatin1Char('=') + QuotedString(value);
}

// A display name that is plain ASCII goes out as it is unless it holds characters that would
// change how the From line parses; then it becomes a quoted string.
QString FormatDisplayName(const QString& name, qsizetype used)
{
    if (!IsPrintableAscii(name) || name.size() >= 70)
        return CVexaMail::EncodeHeaderWord(name, used);
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    const bool plain = std::none_of(name.begin(), name.end(), [](QChar c) { return specials.contains(c); }) &&
                       !name.contains(QLatin1String("=?"));
    if (plain)
        return name;
    return QuotedString(name);
}

// The From value: the display name, then the address on the name's last line where it fits.
QString FromValue(const QString& name, const QString& address)
{
    const QString bracketed = QLatin1Char('<') + address + QLatin1Char('>');
    if (name.isEmpty())
        return bracketed;
    const qsizetype used = QStringLiteral("From: ").size();
    const QString phrase = FormatDisplayName(name, used);
    const bool fits = LastLineLength(phrase, used) + 1 + bracketed.size() <= MaxEncodedLine;
    return phrase + (fits ? QStringLiteral(" ") : QStringLiteral("\r\n ")) + bracketed;
}

// A structured header value: a type and its parameters, each parameter on the line of the one
// before while that line stays within 76 characters, otherwise on a continuation line.
class ParameterizedValue
{
public:
    ParameterizedValue(int headerId, const QString& type)
        : m_text(type), m_line(CMailHeader(headerId, QString()).GetName().size() + 2 + type.size())
    {
    }

    ParameterizedValue& Add(const QString& parameter)
    {
        if (m_line + 2 + parameter.size() > MaxEncodedLine)
        {
            m_text += QStringLiteral(";\r\n\t");
            m_line = 1;
        }
        else
        {
            m_text += QStringLiteral("; ");
            m_line += 2;
        }
        m_text += parameter;
        m_line += parameter.size();
        return *this;
    }

    ParameterizedValue& Add(const QStringList& parameters)
    {
        for (const QString& parameter : parameters)
            Add(parameter);
        return *this;
    }

    const QString& Text() const { return m_text; }

private:
    QString m_text;
    qsizetype m_line;
};

// A file name parameter: a quoted string when the name is short plain ASCII, otherwise RFC 2231
// pieces of UTF-8 with escapes (encoded words have no place inside a parameter), each short
// enough for a continuation line of its own and never splitting a character.
QStringList NameParameters(const QString& attribute, const QString& value)
{
    const qsizetype maxPiece = MaxEncodedLine - 2;
    const QString quoted = QuotedParameter(attribute, value);
    if (IsPrintableAscii(value) && quoted.size() <= maxPiece)
        return {quoted};
    QStringList escaped;
    qsizetype total = 0;
    for (qsizetype i = 0; i < value.size(); ++i)
    {
        const qsizetype length = value.at(i).isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        escaped += QString::fromLatin1(value.mid(i, length).toUtf8().toPercentEncoding());
        total += escaped.last().size();
        i += length - 1;
    }
    const QString charset = QStringLiteral("utf-8''");
    if (attribute.size() + 2 + charset.size() + total <= maxPiece)
        return {attribute + QStringLiteral("*=") + charset + escaped.join(QString())};
    QStringList pieces;
    QString piece = attribute + QStringLiteral("*0*=") + charset;
    for (const QString& character : escaped)
    {
        if (piece.size() + character.size() > maxPiece)
        {
            pieces += piece;
            piece = attribute + QStringLiteral("*%1*=").arg(pieces.size());
        }
        piece += character;
    }
    return pieces << piece;
}

bool IsTextType(const QString& contentType)
{
    return contentType.startsWith(QLatin1String("text/"), Qt::CaseInsensitive);
}

// Text travels with CR LF line breaks whatever the file used; the reader's side turns them into
// its own.
QByteArray CanonicalLineBreaks(const QByteArray& bytes)
{
    QByteArray canonical;
    canonical.reserve(bytes.size() + bytes.size() / 32);
    for (qsizetype i = 0; i < bytes.size(); ++i)
    {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
        {
            canonical += c;
            continue;
        }
        canonical += "\r\n";
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
    }
    return canonical;
}

// The charset parameter that a text part of 8-bit bytes needs, when its type names none: UTF-8
// when the bytes are UTF-8, otherwise the program's code page.
QStringList CharsetParameter(const QString& contentType, const QByteArray& bytes)
{
    const bool text = IsTextType(contentType);
    const bool eightBit = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (!text || !eightBit || contentType.contains(QLatin1String("charset="), Qt::CaseInsensitive))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return {utf8.hasError() ? QStringLiteral("charset=\"windows-1252\"")
                            : QStringLiteral("charset=\"utf-8\"")};
}

// The extension of the address's last path segment, from its last "." and lower-cased; empty
// without one. Query and fragment do not count.
QString ExtensionOf(const QString& sourceAddress)
{
    QString path = sourceAddress.left(sourceAddress.indexOf(QLatin1Char('?')));
    path = path.left(path.indexOf(QLatin1Char('#')));
    path = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.mid(dot).toLower();
}

QString ContentTypeFor(const QString& extension)
{
    static const std::array<std::pair<const char*, const char*>, 12> types = {{
        {".txt", "text/plain"},
        {".zip", "application/x-zip-compressed"},
        {".html", "text/html"},
        {".htm", "text/html"},
        {".rtf", "application/rtf"},
        {".doc", "application/msword"},
        {".pdf", "application/pdf"},
        {".png", "image/png"},
        {".gif", "image/gif"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".xls", "application/vnd.ms-excel"},
    }};
    for (const auto& [ending, type] : types)
    {
        if (extension == QLatin1String(ending))
            return QString::fromLatin1(type);
    }
    return QStringLiteral("application/octet-stream");
}

// A CR or LF may only stand in a header value as a fold (CR LF followed by a blank or tab);
// any other, and any NUL, becomes a blank.
QString SafeHeaderValue(const QString& value)
{
    QString safe = value;
    for (qsizetype i = 0; i < safe.size(); ++i)
    {
        const QChar c = safe.at(i);
        if (c == u'\r' && safe.mid(i + 1, 1) == QLatin1String("\n") &&
            (safe.mid(i + 2, 1) == QLatin1String(" ") || safe.mid(i + 2, 1) == QLatin1String("\t")))
        {
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            safe[i] = QLatin1Char(' ');
    }
    return safe;
}

void WriteLine(CMailOutput& output, const QString& line)
{
    output.Write(QStringLiteral("\r\n") + line + QStringLiteral("\r\n"));
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
    m_writtenParts = other.m_writtenParts;
    m_writtenPlainText = other.m_writtenPlainText;
}

void CVexaMail::AddMessageHeaders(CMailPart& topPart, const QString& fromAddress, const QString& fromName,
                                  const QString& toAddress, const QString& subject, int importance) const
{
    topPart.SetHeader(CMailHeader::To, toAddress);
    topPart.SetHeader(CMailHeader::From, FromValue(BlankControls(fromName), fromAddress));
    topPart.SetHeader(CMailHeader::Subject,
                      EncodeHeaderWord(BlankControls(subject), QStringLiteral("Subject: ").size()));
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
        topPart.SetHeader(
            CMailHeader::Organization,
            EncodeHeaderWord(BlankControls(m_organization), QStringLiteral("Organization: ").size()));
    const QString replyTo = m_replyTo.trimmed();
    if (IsPlainMailAddress(replyTo))
        topPart.SetHeader(CMailHeader::ReplyTo, replyTo);
}

QString CVexaMail::MessageIdDomain(const QString& fromAddress) const
{
    QString domain = m_ehloDomain.trimmed();
    if (domain.isEmpty() && fromAddress.contains(QLatin1Char('@')))
        domain = fromAddress.mid(fromAddress.indexOf(QLatin1Char('@')) + 1);
    return IdDomain(domain);
}

QString CVexaMail::IdDomain(const QString& domain)
{
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
    if (text.isEmpty())
        return {};
    QByteArray output = prefix.toLatin1();
    QuotedPrintable::AppendLine(output, text, ansi, maximum, lineBreak.toLatin1());
    return QString::fromLatin1(output) + suffix;
}

QString CVexaMail::EncodeQPLine(const QString& line, bool ansi)
{
    return EncodeQP(line, 70, QString(), QString(), QStringLiteral("=\r\n"), ansi);
}

QString CVexaMail::EncodeQPBody(const QString& text, bool ansi)
{
    QByteArray encoded;
    QuotedPrintable::AppendBody(encoded, text, ansi);
    return QString::fromLatin1(encoded);
}

QString CVexaMail::EncodeHeaderWord(const QString& value, qsizetype used)
{
    if (value.isEmpty() || (IsPrintableAscii(value) && value.size() < 70))
        return value;
    return EncodeWords(value, IsLatin1Text(value), std::min(MaxWordLength, MaxEncodedLine - used));
}

void CVexaMail::AddInlinePart(const QString& sourceAddress, const QString& name, const QString& contentId,
                              const QString& folder, const QString& contentType)
{
    QTemporaryFile file(
        QDir(folder.isEmpty() ? QDir::tempPath() : folder).filePath(QStringLiteral("_vx_XXXXXX")));
    if (!file.open())
        throw CMailError(CMailError::PartNotAdded, 0);
    file.close();
    DownloadToFile(sourceAddress, file.fileName());
    QFile downloaded(file.fileName());
    if (!downloaded.open(QIODevice::ReadOnly))
        throw CMailError(CMailError::PartNotAdded, 0);
    const qint64 size = downloaded.size();
    const QByteArray bytes = size > 0 ? downloaded.readAll() : QByteArray();
    if (size <= 0 || bytes.size() != size)
        throw CMailError(CMailError::PartNotAdded, 0);
    const QString extension = ExtensionOf(sourceAddress);
    AppendBase64Part(CMailPart::Base64Inline, name + extension, bytes,
                     contentType.isEmpty() ? ContentTypeFor(extension) : contentType, contentId);
}

void CVexaMail::AddAttachment(const QString& fileName, const QByteArray& bytes, const QString& contentType,
                              const QString& contentId)
{
    AppendBase64Part(CMailPart::Base64Attachment, fileName, bytes, contentType, contentId);
}

void CVexaMail::AppendBase64Part(int kind, const QString& fileName, const QByteArray& bytes,
                                 const QString& contentType, const QString& contentId)
{
    auto part = std::make_unique<CMailPart>(kind);
    QString body;
    EncodeBase64(IsTextType(contentType) ? CanonicalLineBreaks(bytes) : bytes, body);
    part->SetBody(body);
    const QString name = BlankControls(fileName);
    part->SetHeader(CMailHeader::ContentType, ParameterizedValue(CMailHeader::ContentType, contentType)
                                                  .Add(CharsetParameter(contentType, bytes))
                                                  .Add(NameParameters(QStringLiteral("name"), name))
                                                  .Text());
    part->SetHeader(CMailHeader::ContentDescription,
                    EncodeHeaderWord(name, QStringLiteral("Content-Description: ").size()));
    // A location is a URI, whose characters outside its own set are escaped.
    part->SetHeader(CMailHeader::ContentLocation, QString::fromLatin1(name.toUtf8().toPercentEncoding()));
    if (!contentId.isEmpty())
        part->SetHeader(CMailHeader::ContentId, QLatin1Char('<') + contentId + QLatin1Char('>'));
    if (kind == CMailPart::Base64Attachment)
        part->SetHeader(CMailHeader::ContentDisposition,
                        ParameterizedValue(CMailHeader::ContentDisposition, QStringLiteral("attachment"))
                            .Add(NameParameters(QStringLiteral("filename"), name))
                            .Text());
    m_writtenParts.push_back(WrittenForm(*part));
    m_parts.push_back(std::move(part));
}

void CVexaMail::DownloadToFile(const QString& sourceAddress, const QString& filePath)
{
    const WaitCursor waitCursor;
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw CMailError(CMailError::TemporaryFileNotCreated, 0);
    const QUrl url(sourceAddress.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return;
    CInternetSession session(QStringLiteral("Kelvora"));
    session.SetMaxBodySize(MaxDownloadBytes);
    session.SetTotalTimeout(DownloadTimeBudgetMs);
    const std::unique_ptr<CHttpFile> request = CHttpFile::Open(session, "GET", url.toEncoded(), true);
    // An error page is not the picture that was asked for.
    if (!request || !request->SendRequest(QByteArray()) || request->GetStatusCode() / 100 != 2)
        throw CMailError(CMailError::DownloadFailed, 0);
    char block[4096];
    while (const qint64 count = request->Read(block, sizeof(block)))
    {
        if (file.write(block, count) != count)
            throw CMailError(CMailError::DownloadFailed, 0);
    }
    if (!file.flush())
        throw CMailError(CMailError::DownloadFailed, 0);
}

CMailPart CVexaMail::BuildTopPart(const QString& fromAddress, const QString& fromName,
                                  const QString& toAddress, const QString& subject, int importance,
                                  const QString& seed) const
{
    CMailPart topPart(CMailPart::SevenBit);
    AddMessageHeaders(topPart, fromAddress, fromName, toAddress, subject, importance);
    topPart.SetHeader(CMailHeader::ContentType,
                      HasPartsOf(CMailPart::Base64Attachment)
                          ? ParameterizedValue(CMailHeader::ContentType, QStringLiteral("multipart/mixed"))
                                .Add(QuotedParameter(QStringLiteral("boundary"), MakeBoundary(1, seed)))
                                .Text()
                          : RelatedType(1, seed));
    topPart.SetHeader(CMailHeader::MimeVersion, QStringLiteral("1.0"));
    topPart.SetBody(QStringLiteral("This is a multi-part message in MIME format."));
    return topPart;
}

void CVexaMail::WriteMessage(CMailOutput& output, const CMailPart& topPart, const QString& seed) const
{
    WritePart(output, topPart);
    output.Write(QStringLiteral("\r\n"));
    if (!HasPartsOf(CMailPart::Base64Attachment))
    {
        WriteRelatedBody(output, 1, seed);
        return;
    }
    // Attachments sit beside the content in multipart/mixed: inside multipart/related they
    // would be resources of the HTML.
    WriteLine(output, MakeBoundaryLine(1, seed));
    if (HasPartsOf(CMailPart::Base64Inline))
    {
        WritePart(output, ContainerPart(RelatedType(2, seed)));
        WriteRelatedBody(output, 2, seed);
    }
    else
    {
        WritePart(output, ContainerPart(AlternativeType(2, seed)));
        WriteAlternativeBody(output, 2, seed);
    }
    WriteParts(output, CMailPart::Base64Attachment, 1, seed);
    WriteLine(output, MakeBoundaryEndLine(1, seed));
}

bool CVexaMail::HasPartsOf(int kind) const
{
    return std::any_of(m_parts.begin(), m_parts.end(),
                       [kind](const std::unique_ptr<CMailPart>& part) { return part->GetKind() == kind; });
}

QString CVexaMail::RelatedType(int level, const QString& seed)
{
    return ParameterizedValue(CMailHeader::ContentType, QStringLiteral("multipart/related"))
        .Add(QuotedParameter(QStringLiteral("type"), QStringLiteral("multipart/alternative")))
        .Add(QuotedParameter(QStringLiteral("boundary"), MakeBoundary(level, seed)))
        .Text();
}

QString CVexaMail::AlternativeType(int level, const QString& seed)
{
    return ParameterizedValue(CMailHeader::ContentType, QStringLiteral("multipart/alternative"))
        .Add(QuotedParameter(QStringLiteral("boundary"), MakeBoundary(level, seed)))
        .Text();
}

CMailPart CVexaMail::ContainerPart(const QString& contentType)
{
    CMailPart container(CMailPart::SevenBit);
    container.SetHeader(CMailHeader::ContentType, contentType);
    return container;
}

void CVexaMail::WriteRelatedBody(CMailOutput& output, int level, const QString& seed) const
{
    WriteLine(output, MakeBoundaryLine(level, seed));
    WritePart(output, ContainerPart(AlternativeType(level + 1, seed)));
    WriteAlternativeBody(output, level + 1, seed);
    WriteParts(output, CMailPart::Base64Inline, level, seed);
    WriteLine(output, MakeBoundaryEndLine(level, seed));
}

void CVexaMail::WriteAlternativeBody(CMailOutput& output, int level, const QString& seed) const
{
    WriteLine(output, MakeBoundaryLine(level, seed));
    output.WriteBytes(WrittenPlainText());
    WriteLine(output, MakeBoundaryLine(level, seed));

    // Escaped to ASCII, the HTML's UTF-8 bytes are its ISO-8859-1 bytes.
    QByteArray html = "Content-Type: text/html; charset=\"iso-8859-1\"\r\n"
                      "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n";
    QuotedPrintable::AppendHtmlBody(html, m_htmlBody);
    html += "\r\n";
    output.WriteBytes(html);
    WriteLine(output, MakeBoundaryEndLine(level, seed));
}

void CVexaMail::SetPlainTextBody(const QString& text)
{
    m_plainTextBody = text;
    if (m_writtenPlainText.bytes.isEmpty() || m_writtenPlainText.text != text)
        m_writtenPlainText = {text, WrittenPlainText(text)};
}

QByteArray CVexaMail::WrittenPlainText() const
{
    if (!m_writtenPlainText.bytes.isEmpty() && m_writtenPlainText.text == m_plainTextBody)
        return m_writtenPlainText.bytes;
    return WrittenPlainText(m_plainTextBody);
}

QByteArray CVexaMail::WrittenPlainText(const QString& text)
{
    const bool latin1 = IsLatin1Text(text);
    CMailPart plainText(latin1 ? CMailPart::QuotedPrintableAnsi : CMailPart::QuotedPrintableUtf8);
    plainText.SetHeader(CMailHeader::ContentType, latin1
                                                      ? QStringLiteral("text/plain; charset=\"iso-8859-1\"")
                                                      : QStringLiteral("text/plain; charset=\"utf-8\""));
    plainText.SetBody(text);
    return WrittenForm(plainText);
}

QByteArray CVexaMail::WrittenForm(const CMailPart& part)
{
    CMailBytesOutput output;
    WritePart(output, part);
    return output.Bytes();
}

void CVexaMail::WriteParts(CMailOutput& output, int kind, int level, const QString& seed) const
{
    for (size_t i = 0; i < m_parts.size(); ++i)
    {
        if (m_parts[i]->GetKind() != kind)
            continue;
        WriteLine(output, MakeBoundaryLine(level, seed));
        output.WriteBytes(m_writtenParts[i]);
    }
}

void CVexaMail::WritePart(CMailOutput& output, const CMailPart& part)
{
    for (int i = 0; i < part.GetHeaderCount(); ++i)
    {
        const CMailHeader& header = part.GetHeaderAt(i);
        output.Write(header.GetName() + QStringLiteral(": ") + SafeHeaderValue(header.GetValue()) +
                     QStringLiteral("\r\n"));
    }
    switch (part.GetKind())
    {
    case CMailPart::QuotedPrintableUtf8:
    case CMailPart::QuotedPrintableAnsi:
    {
        QByteArray body = "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n";
        QuotedPrintable::AppendBody(body, part.GetBody(), part.GetKind() == CMailPart::QuotedPrintableAnsi);
        body += "\r\n";
        output.WriteBytes(body);
        break;
    }
    case CMailPart::Base64Inline:
    case CMailPart::Base64Attachment:
    {
        // RFC 2045 lines of 76 characters, handed on in blocks rather than line by line: one
        // write per line would cost a system call each.
        constexpr qsizetype LineLength = 76;
        constexpr qsizetype LinesPerBlock = 256;
        if (part.GetKind() == CMailPart::Base64Inline)
            output.Write(QStringLiteral("Content-Disposition: inline\r\n"));
        output.Write(QStringLiteral("Content-Transfer-Encoding: Base64\r\n\r\n"));
        const QString& body = part.GetBody();
        QString block;
        for (qsizetype start = 0; start < body.size(); start += LineLength)
        {
            block += QStringView(body).mid(start, LineLength);
            block += QStringLiteral("\r\n");
            if (block.size() >= LinesPerBlock * (LineLength + 2))
            {
                output.Write(block);
                block.clear();
            }
        }
        if (!block.isEmpty())
            output.Write(block);
        break;
    }
    default:
        output.Write(QStringLiteral("Content-Transfer-Encoding: 7bit\r\n\r\n"));
        output.Write(part.GetBody());
        output.Write(QStringLiteral("\r\n"));
        break;
    }
}

namespace
{
constexpr int SendSeconds = 10;

// The mechanisms an EHLO reply advertises on its "AUTH " lines.
struct AuthMechanisms
{
    bool ntlm{false};
    bool plain{false};
    bool login{false};
};

AuthMechanisms ScanCapabilities(const std::vector<QString>& lines)
{
    AuthMechanisms mechanisms;
    for (const QString& line : lines)
    {
        const QString capability = line.toLower().trimmed();
        if (!capability.contains(QLatin1String("auth ")))
            continue;
        mechanisms.ntlm = mechanisms.ntlm || capability.contains(QLatin1String("ntlm"));
        mechanisms.plain = mechanisms.plain || capability.contains(QLatin1String("plain"));
        mechanisms.login = mechanisms.login || capability.contains(QLatin1String("login"));
    }
    return mechanisms;
}

int LastReplyNumber(const std::vector<QString>& lines)
{
    return lines.empty() ? 0 : ReplyNumber(lines.back());
}

QString Base64Of(const QByteArray& bytes)
{
    QString text;
    EncodeBase64(bytes, text);
    return text;
}

QByteArray DecodeChallenge(const QString& text)
{
    return DecodeBase64Bytes(AnsiCodePage::FromText(text));
}

// "DOMAIN\account" names a domain only with something before the backslash and at least two
// characters after it.
void SplitNtlmUser(const QString& userName, QString* domain, QString* account)
{
    const qsizetype backslash = userName.indexOf(u'\\');
    if (backslash >= 1 && userName.size() - backslash - 1 >= 2)
    {
        *domain = userName.left(backslash);
        *account = userName.mid(backslash + 1);
        return;
    }
    domain->clear();
    *account = userName;
}

// Connects the socket to the server; socket failures are thrown.
void Connect(CMailSocket& socket, const QString& server, int port)
{
    socket.Create(SOCK_STREAM);
    socket.Connect(CBlockingSocket::GetHostByName(server, static_cast<unsigned short>(port)));
    // Every write is a whole command or a large piece of the message; held back for the
    // acknowledgement of the previous one, the end-of-data line would wait out the peer's
    // delayed acknowledgement on every message.
    const int noDelay = 1;
    setsockopt(socket.GetHandle(), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
}

// A server that refused a step hears QUIT, so it ends the session instead of seeing a dropped
// connection; whatever goes wrong on the way changes nothing.
void QuitQuietly(CMailSocket& socket)
{
    try
    {
        socket.SendString(QStringLiteral("QUIT\r\n"), SendSeconds);
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
    }
}

void CloseQuietly(CMailSocket& socket)
{
    try
    {
        socket.Close();
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
    }
}
} // namespace

void CVexaMail::Send(const QString& fromAddress, const QString& fromName, const QString& toAddress,
                     const QString& subject, int importance)
{
    // An address goes into a command as it stands, so one that could end the command or start
    // another never reaches the server.
    if (!IsPlainMailAddress(fromAddress))
        throw CMailError(CMailError::SenderRefused, 0);
    if (!IsPlainMailAddress(toAddress))
        throw CMailError(CMailError::RecipientRefused, 0);
    CMailSocket socket;
    try
    {
        Connect(socket, m_server, m_port);
        const QString seed = MakeBoundarySeed();
        const CMailPart topPart = BuildTopPart(fromAddress, fromName, toAddress, subject, importance, seed);
        StartDialogue(socket, fromAddress, toAddress);
        CSmtpDataOutput output(socket);
        WriteMessage(output, topPart, seed);
        output.Flush();
        EndDialogue(socket);
        socket.Close();
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        CloseQuietly(socket);
        throw CMailError(CMailError::SocketFailure, 0);
    }
    catch (const CMailError&)
    {
        QuitQuietly(socket);
        CloseQuietly(socket);
        throw;
    }
    catch (...)
    {
        CloseQuietly(socket);
        throw;
    }
}

int CVexaMail::Authenticate(CMailSocket& socket, const std::vector<QString>& ehloReply,
                            const QString& userName, const QString& password)
{
    const AuthMechanisms advertised = ScanCapabilities(ehloReply);
    const std::pair<bool, int (CVexaMail::*)(CMailSocket&, const QString&, const QString&)> mechanisms[] = {
        {advertised.ntlm, &CVexaMail::AuthNtlm},
        {advertised.plain, &CVexaMail::AuthPlain},
        {advertised.login, &CVexaMail::AuthLogin}};
    int reply = 0;
    for (const auto& [offered, attempt] : mechanisms)
    {
        if (!offered)
            continue;
        reply = (this->*attempt)(socket, userName, password);
        if (reply == 235)
            return reply;
    }
    return reply;
}

void CVexaMail::StartDialogue(CMailSocket& socket, const QString& fromAddress, const QString& toAddress)
{
    std::vector<QString> greeting;
    socket.ReadReply(greeting);
    if (LastReplyNumber(greeting) != 220)
        throw CMailError(CMailError::GreetingRefused, LastReplyNumber(greeting));

    QString domain = m_ehloDomain;
    if (domain.isEmpty() && fromAddress.contains(u'@'))
        domain = fromAddress.mid(fromAddress.indexOf(u'@') + 1);
    socket.SendString(QStringLiteral("EHLO %1\r\n").arg(domain), SendSeconds);
    std::vector<QString> ehloReply;
    socket.ReadReply(ehloReply);
    if (LastReplyNumber(ehloReply) != 250)
        throw CMailError(CMailError::EhloRefused, LastReplyNumber(ehloReply));

    if (!m_userName.isEmpty())
    {
        const int authReply = Authenticate(socket, ehloReply, m_userName, m_password);
        if (authReply != 235)
            throw CMailError(CMailError::AuthenticationFailed, authReply);
    }

    int reply = socket.SendCommand(QStringLiteral("MAIL FROM:<%1>\r\n").arg(fromAddress));
    if (reply != 250)
        throw CMailError(CMailError::SenderRefused, reply);
    reply = socket.SendCommand(QStringLiteral("RCPT TO:<%1>\r\n").arg(toAddress));
    if (reply != 250)
        throw CMailError(CMailError::RecipientRefused, reply);
    reply = socket.SendCommand(QStringLiteral("DATA\r\n"));
    if (reply != 354)
        throw CMailError(CMailError::DataRefused, reply);
}

void CVexaMail::EndDialogue(CMailSocket& socket)
{
    socket.SendString(QStringLiteral("\r\n.\r\n"), SendSeconds);
    socket.AwaitSlowReply();
    std::vector<QString> lines;
    socket.ReadReply(lines);
    const int reply = LastReplyNumber(lines);
    // The reply travels with the error, so that a temporary refusal of the message itself
    // defers the recipient like one at RCPT does.
    if (reply != 250)
        throw CMailError(CMailError::EndOfDataRefused, reply);
    socket.SendString(QStringLiteral("QUIT\r\n"), SendSeconds);
}

int CVexaMail::AuthNtlm(CMailSocket& socket, const QString& userName, const QString& password)
{
    QString domain;
    QString account;
    SplitNtlmUser(userName, &domain, &account);
    CNtlmHelper ntlm;
    if (!ntlm.Init(domain, account, password) || !ntlm.MakeToken())
        return 0;
    socket.SendString(QStringLiteral("AUTH NTLM %1\r\n").arg(Base64Of(ntlm.GetToken())), SendSeconds);
    const QString line = socket.ReadLine();
    const qsizetype blank = line.indexOf(u' ');
    if (ReplyNumber(line) != 334 || blank < 0)
        return ReplyNumber(line);
    if (!ntlm.MakeToken(DecodeChallenge(line.mid(blank + 1).trimmed())))
        return 0;
    return socket.SendCommand(Base64Of(ntlm.GetToken()) + QStringLiteral("\r\n"));
}

int CVexaMail::AuthPlain(CMailSocket& socket, const QString& userName, const QString& password)
{
    const int reply = socket.SendCommand(QStringLiteral("AUTH PLAIN\r\n"));
    if (reply != 334)
        return reply;
    const QByteArray credentials =
        '\0' + AnsiCodePage::FromText(userName) + '\0' + AnsiCodePage::FromText(password);
    return socket.SendCommand(Base64Of(credentials) + QStringLiteral("\r\n"));
}

int CVexaMail::AuthLogin(CMailSocket& socket, const QString& userName, const QString& password)
{
    int reply = socket.SendCommand(QStringLiteral("AUTH LOGIN\r\n"));
    if (reply == 334)
        reply = socket.SendCommand(Base64Of(AnsiCodePage::FromText(userName)) + QStringLiteral("\r\n"));
    if (reply == 334)
        reply = socket.SendCommand(Base64Of(AnsiCodePage::FromText(password)) + QStringLiteral("\r\n"));
    return reply;
}

int CVexaMail::TestServer(const QString& userName, const QString& password, bool recipientStep)
{
    CMailSocket socket;
    int result = 0;
    try
    {
        Connect(socket, m_server, m_port);
        std::vector<QString> greeting;
        socket.ReadReply(greeting);
        std::vector<QString> ehloReply;
        if (LastReplyNumber(greeting) == 220)
        {
            socket.SendString(QStringLiteral("EHLO %1\r\n").arg(m_ehloDomain), SendSeconds);
            socket.ReadReply(ehloReply);
        }
        if (LastReplyNumber(ehloReply) != 250)
            result = 1;
        else if (!userName.isEmpty() && Authenticate(socket, ehloReply, userName, password) != 235)
            result = 2;
        else if (socket.SendCommand(QStringLiteral("MAIL FROM:<%1>\r\n").arg(QLatin1String(TestSender))) !=
                 250)
            result = 3;
        else if (recipientStep &&
                 socket.SendCommand(QStringLiteral("RCPT TO:<%1>\r\n").arg(QLatin1String(TestRecipient))) !=
                     250)
            result = 3;
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        result = 1;
    }
    CloseQuietly(socket);
    return result;
}
