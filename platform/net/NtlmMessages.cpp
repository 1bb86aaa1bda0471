#include "platform/net/NtlmMessages.h"

#include "platform/net/NtlmResponses.h"

#include <QtEndian>

namespace
{
const QByteArray Signature("NTLMSSP\0", 8);

constexpr quint32 NegotiateUnicode = 0x00000001;
constexpr quint32 NegotiateOem = 0x00000002;
constexpr quint32 RequestTarget = 0x00000004;
constexpr quint32 NegotiateNtlm = 0x00000200;
constexpr quint32 NegotiateAlwaysSign = 0x00008000;
constexpr quint32 NegotiateExtendedSessionSecurity = 0x00080000;
constexpr quint32 ClientFlags = NegotiateUnicode | NegotiateOem | RequestTarget | NegotiateNtlm |
                                NegotiateAlwaysSign | NegotiateExtendedSessionSecurity;

constexpr quint32 NegotiateMessageType = 1;
constexpr quint32 ChallengeMessageType = 2;
constexpr quint32 AuthenticateMessageType = 3;

constexpr quint16 AvEndOfList = 0;
constexpr quint16 AvTimestamp = 7;

constexpr int ChallengeHeaderSize = 32;
constexpr int ChallengeWithTargetInfoSize = 48;
// Both messages carry the version field, left zero since no version is negotiated: acceptors
// read it as part of the fixed header whatever the flags say.
const QByteArray NoVersion(8, '\0');
constexpr int NegotiateHeaderSize = 40;
constexpr int AuthenticateHeaderSize = 72;

quint16 ReadUInt16(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 ReadUInt32(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void AppendUInt16(QByteArray& bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

void AppendUInt32(QByteArray& bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

// A field descriptor (length, maximum length, offset) at offset; false when it points outside
// the message.
bool ReadField(const QByteArray& message, qsizetype offset, QByteArray* value)
{
    const quint16 length = ReadUInt16(message, offset);
    const quint32 start = ReadUInt32(message, offset + 4);
    if (length == 0)
    {
        value->clear();
        return true;
    }
    if (start > static_cast<quint64>(message.size()) || length > message.size() - start)
        return false;
    *value = message.mid(start, length);
    return true;
}

// Walks the attribute-value pairs up to the end-of-list pair and picks out the timestamp.
bool ReadTargetInfo(const QByteArray& info, NtlmChallenge* challenge)
{
    qsizetype position = 0;
    while (position + 4 <= info.size())
    {
        const quint16 id = ReadUInt16(info, position);
        const quint16 length = ReadUInt16(info, position + 2);
        position += 4;
        if (length > info.size() - position)
            return false;
        if (id == AvEndOfList)
            return true;
        if (id == AvTimestamp && length == 8)
        {
            challenge->hasTimestamp = true;
            challenge->timestamp = qFromLittleEndian<quint64>(info.constData() + position);
        }
        position += length;
    }
    // Pairs without the end-of-list pair, or an empty list.
    return info.isEmpty();
}

QByteArray EncodeText(const QString& text, bool unicode)
{
    if (!unicode)
        return text.toLatin1();
    QByteArray bytes;
    for (const QChar c : text)
        AppendUInt16(bytes, c.unicode());
    return bytes;
}

// Writes the fields of an AUTHENTICATE message: descriptors in order, payloads after the header.
class CFieldWriter
{
public:
    CFieldWriter() : m_header(Signature) { AppendUInt32(m_header, AuthenticateMessageType); }

    bool Add(const QByteArray& value)
    {
        if (value.size() > 0xFFFF)
            return false;
        AppendUInt16(m_header, static_cast<quint16>(value.size()));
        AppendUInt16(m_header, static_cast<quint16>(value.size()));
        AppendUInt32(m_header, static_cast<quint32>(AuthenticateHeaderSize + m_payload.size()));
        m_payload += value;
        return true;
    }

    QByteArray Finish(quint32 flags)
    {
        AppendUInt32(m_header, flags);
        return m_header + NoVersion + m_payload;
    }

private:
    QByteArray m_header;
    QByteArray m_payload;
};
} // namespace

namespace NtlmMessages
{
QByteArray MakeNegotiate()
{
    QByteArray message = Signature;
    AppendUInt32(message, NegotiateMessageType);
    AppendUInt32(message, ClientFlags);
    // No domain and no workstation are supplied: both fields empty, pointing at the end.
    for (int field = 0; field < 2; ++field)
    {
        AppendUInt32(message, 0);
        AppendUInt32(message, NegotiateHeaderSize);
    }
    return message + NoVersion;
}

bool ParseChallenge(const QByteArray& message, NtlmChallenge* challenge)
{
    if (message.size() < ChallengeHeaderSize || !message.startsWith(Signature) ||
        ReadUInt32(message, 8) != ChallengeMessageType)
        return false;
    NtlmChallenge parsed;
    QByteArray targetName;
    if (!ReadField(message, 12, &targetName))
        return false;
    parsed.flags = ReadUInt32(message, 20);
    parsed.serverChallenge = message.mid(24, 8);
    if (message.size() >= ChallengeWithTargetInfoSize &&
        (!ReadField(message, 40, &parsed.targetInfo) || !ReadTargetInfo(parsed.targetInfo, &parsed)))
        return false;
    *challenge = parsed;
    return true;
}

QByteArray MakeAuthenticate(const NtlmChallenge& challenge, const QString& domain, const QString& user,
                            const QString& password, const QByteArray& clientChallenge, quint64 time)
{
    const QByteArray responseKey = NtlmResponses::NtOwfV2(user, domain, password);
    if (responseKey.isEmpty())
        return {};
    const QByteArray blob = NtlmResponses::MakeClientBlob(challenge.hasTimestamp ? challenge.timestamp : time,
                                                          clientChallenge, challenge.targetInfo);
    const QByteArray ntResponse = NtlmResponses::NtlmV2Response(responseKey, challenge.serverChallenge, blob);
    // With a server timestamp the LMv2 answer is left out (all zero), as servers then expect.
    const QByteArray lmResponse =
        challenge.hasTimestamp
            ? QByteArray(24, '\0')
            : NtlmResponses::LmV2Response(responseKey, challenge.serverChallenge, clientChallenge);
    if (ntResponse.isEmpty() || lmResponse.isEmpty())
        return {};
    const bool unicode = (challenge.flags & NegotiateUnicode) != 0;
    const quint32 flags = (ClientFlags & challenge.flags & ~(NegotiateUnicode | NegotiateOem)) |
                          (unicode ? NegotiateUnicode : NegotiateOem);
    CFieldWriter writer;
    const bool fits = writer.Add(lmResponse) && writer.Add(ntResponse) &&
                      writer.Add(EncodeText(domain, unicode)) && writer.Add(EncodeText(user, unicode)) &&
                      writer.Add(QByteArray()) && writer.Add(QByteArray());
    return fits ? writer.Finish(flags) : QByteArray();
}
} // namespace NtlmMessages
