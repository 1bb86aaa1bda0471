#pragma once

#include "mail/MailHeader.h"

#include <QString>

#include <vector>

// One body part of a message: its headers in the order they were set and its body, whose
// transfer encoding the kind chooses when the part is written.
class CMailPart
{
public:
    enum Kind
    {
        // A container or a text written as it stands ("7bit"); unknown kinds are written so too.
        SevenBit = 0,
        QuotedPrintableUtf8 = 4,
        QuotedPrintableAnsi = 5,
        // The body already holds the Base64 text.
        Base64Inline = 6,
        // Base64 text as well, with its own Content-Disposition among the headers: a file that
        // the message carries beside its content rather than inside it.
        Base64Attachment = 7,
    };

    explicit CMailPart(int kind) : m_kind(kind) {}
    CMailPart(const CMailPart&) = default;
    CMailPart& operator=(const CMailPart&) = default;
    virtual ~CMailPart() = default;

    int GetKind() const { return m_kind; }

    // Replaces the value of a header with the same id where it stands, or appends one.
    void SetHeader(int id, const QString& value);
    int GetHeaderCount() const { return static_cast<int>(m_headers.size()); }
    const CMailHeader& GetHeaderAt(int index) const { return m_headers.at(static_cast<size_t>(index)); }
    // Null when the part has no header of that id.
    const CMailHeader* FindHeader(int id) const;
    void ClearHeaders() { m_headers.clear(); }

    void SetBody(const QString& body) { m_body = body; }
    const QString& GetBody() const { return m_body; }

private:
    int m_kind;
    std::vector<CMailHeader> m_headers;
    QString m_body;
};
