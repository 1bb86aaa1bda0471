#pragma once

#include "mail/MailPart.h"

#include <QByteArray>
#include <QString>

#include <ctime>
#include <memory>
#include <vector>

class CMailOutput;
class CMailSocket;

// One message and the SMTP server it goes to. The message is a multipart/related container
// holding a multipart/alternative pair (plain text and HTML) followed by the inline images that
// the HTML refers to by content id; with attached files, that container (or the pair alone
// when there is no image) is the first part of a multipart/mixed whose other parts are the
// files.
class CVexaMail
{
public:
    // Inline downloads larger than this, or slower than the time budget, fail.
    static constexpr qint64 MaxDownloadBytes = qint64(20) * 1024 * 1024;
    static constexpr int DownloadTimeBudgetMs = 120000;

    CVexaMail(const QString& ehloDomain, const QString& server, int port, const QString& userName,
              const QString& password);
    CVexaMail(const CVexaMail& other);
    CVexaMail& operator=(const CVexaMail& other);
    ~CVexaMail();

    // The sender and recipient that TestServer names.
    static constexpr const char* TestSender = "kelvora-test@example.com";
    static constexpr const char* TestRecipient = "postmaster@example.org";

    // One SMTP dialogue over a connection of its own that delivers the message to one
    // recipient. Throws CMailError: the step's code with the server's reply, 302 or 303 with
    // reply 0 for an address that cannot stand in a command, 10 for a socket failure. A server
    // that refused a step hears QUIT.
    void Send(const QString& fromAddress, const QString& fromName, const QString& toAddress,
              const QString& subject, int importance);
    // 0 success, 1 connection, greeting or EHLO failed, 2 authentication failed, 3 sender or
    // recipient refused. Never throws.
    int TestServer(const QString& userName, const QString& password, bool recipientStep);

    // Greeting, EHLO, authentication when a user name is set, MAIL FROM, RCPT TO and DATA.
    // Throws CMailError with the step's code and the server's reply (for authentication the
    // reply that ended the tries, 0 when no mechanism could be tried).
    void StartDialogue(CMailSocket& socket, const QString& fromAddress, const QString& toAddress);
    // The end-of-data line, whose reply may take the whole reply wait, and QUIT. Throws
    // CMailError 305 with the server's reply.
    void EndDialogue(CMailSocket& socket);

    // The server's last reply: 235 when it accepted the login, 0 when the mechanism could not
    // be carried out. Throw socket failures.
    int AuthNtlm(CMailSocket& socket, const QString& userName, const QString& password);
    int AuthPlain(CMailSocket& socket, const QString& userName, const QString& password);
    int AuthLogin(CMailSocket& socket, const QString& userName, const QString& password);

    void SetHtmlBody(const QString& text) { m_htmlBody = text; }
    QString GetHtmlBody() const { return m_htmlBody; }
    // The plain text's part is written once and kept while the text stays the same: every
    // recipient of a job gets it alike.
    void SetPlainTextBody(const QString& text);

    // Fetches the source address and appends it as an inline part named name plus the
    // address's extension. An empty folder is the system's temporary folder; an empty content
    // type is chosen by the extension. Throws CMailError 100, 200 or 201.
    void AddInlinePart(const QString& sourceAddress, const QString& name, const QString& contentId,
                       const QString& folder, const QString& contentType);
    // Appends a file that travels as an attachment beside the content; a text file of 8-bit
    // bytes whose type names no charset gets one.
    void AddAttachment(const QString& fileName, const QByteArray& bytes, const QString& contentType,
                       const QString& contentId);
    void ClearParts()
    {
        m_parts.clear();
        m_writtenParts.clear();
    }
    const std::vector<std::unique_ptr<CMailPart>>& GetParts() const { return m_parts; }

    // To, From, Subject, Date, Message-Id, Importance, X-Mailer, X-KV-Message-Id,
    // Organization and Reply-To of the message, set on its top part.
    void AddMessageHeaders(CMailPart& topPart, const QString& fromAddress, const QString& fromName,
                           const QString& toAddress, const QString& subject, int importance) const;

    // The top part of the message: its headers, the outermost container's type with boundary 1
    // of the seed, the MIME version and the preamble.
    CMailPart BuildTopPart(const QString& fromAddress, const QString& fromName, const QString& toAddress,
                           const QString& subject, int importance, const QString& seed) const;
    // Everything after DATA up to the end-of-data line: the top part, the alternative pair of
    // plain text and HTML, every inline part, then every attachment.
    void WriteMessage(CMailOutput& output, const CMailPart& topPart, const QString& seed) const;
    // The part's headers, its transfer encoding and its encoded body. A CR or LF in a header
    // value that does not fold the line is written as a blank, so no value can start a header.
    static void WritePart(CMailOutput& output, const CMailPart& part);

    // Fetches the address into the file (created or emptied first). Throws CMailError 200 when
    // the file cannot be created and 201 when the download fails; an address that is not
    // http or https leaves the file empty.
    static void DownloadToFile(const QString& sourceAddress, const QString& filePath);

    static QString MakeBoundarySeed();
    static QString MakeBoundary(int level, const QString& seed);
    static QString MakeBoundaryLine(int level, const QString& seed);
    static QString MakeBoundaryEndLine(int level, const QString& seed);

    // "Sun, 7 Mar 2027 09:05:03 +0000": the moment in UTC with English names, whatever the
    // locale and zone.
    static QString FormatDate(std::time_t moment);

    // Quoted-printable of the text's bytes (the program's code page when ansi is set, UTF-8
    // otherwise): after every maximum counted characters the line break text is inserted.
    static QString EncodeQP(const QString& text, int maximum, const QString& prefix, const QString& suffix,
                            const QString& lineBreak, bool ansi);
    static QString EncodeQPLine(const QString& line, bool ansi);
    // Every line encoded on its own and ended by CR LF, whether CR LF, LF or CR ended it in the
    // text; blank lines are kept.
    static QString EncodeQPBody(const QString& text, bool ansi);
    // The value unchanged when it is short printable ASCII, otherwise RFC 2047 encoded words of
    // at most 75 characters on continuation lines, never splitting a character. Used is the
    // length of what stands before the value on its line ("Subject: "): no line grows past 76.
    static QString EncodeHeaderWord(const QString& value, qsizetype used = 0);
    // The domain of message and content ids: the letters, digits, dots and hyphens of the given
    // domain, "localhost" when none remain.
    static QString IdDomain(const QString& domain);

    // Connection
    QString m_ehloDomain;
    QString m_server;
    int m_port{25};
    QString m_userName;
    QString m_password;

    // Message
    QString m_mailerText;
    // The tracking id, sent as "X-KV-Message-Id" when not empty.
    QString MessageId;
    QString m_organization;
    QString m_replyTo;
    QString m_plainTextBody;
    QString m_htmlBody;

private:
    // The advertised mechanisms in turn, NTLM, PLAIN, LOGIN, until one succeeds; the last reply
    // (0 when no mechanism was tried).
    int Authenticate(CMailSocket& socket, const std::vector<QString>& ehloReply, const QString& userName,
                     const QString& password);
    void CopyFrom(const CVexaMail& other);
    void AppendBase64Part(int kind, const QString& fileName, const QByteArray& bytes,
                          const QString& contentType, const QString& contentId);
    bool HasPartsOf(int kind) const;
    static QString RelatedType(int level, const QString& seed);
    static QString AlternativeType(int level, const QString& seed);
    static CMailPart ContainerPart(const QString& contentType);
    // The delimited parts of a related container: the alternative pair, then the inline parts.
    void WriteRelatedBody(CMailOutput& output, int level, const QString& seed) const;
    void WriteAlternativeBody(CMailOutput& output, int level, const QString& seed) const;
    void WriteParts(CMailOutput& output, int kind, int level, const QString& seed) const;
    // The domain that the "Message-Id" is made on: the EHLO domain, else the sender's domain.
    QString MessageIdDomain(const QString& fromAddress) const;
    // The plain-text part as it is written, from the kept bytes while they fit the text.
    QByteArray WrittenPlainText() const;
    static QByteArray WrittenPlainText(const QString& text);
    static QByteArray WrittenForm(const CMailPart& part);

    struct WrittenText
    {
        QString text;
        QByteArray bytes;
    };

    std::vector<std::unique_ptr<CMailPart>> m_parts;
    // Each part's written form, made when it was added (parts never change afterwards), so
    // copies for many recipients share the encoding.
    std::vector<QByteArray> m_writtenParts;
    WrittenText m_writtenPlainText;
};
