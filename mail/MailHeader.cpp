#include "mail/MailHeader.h"

QString CMailHeader::GetName() const
{
    switch (m_id)
    {
    case To:
        return QStringLiteral("To");
    case From:
        return QStringLiteral("From");
    case Subject:
        return QStringLiteral("Subject");
    case Date:
        return QStringLiteral("Date");
    case Importance:
        return QStringLiteral("Importance");
    case MessageId:
        return QStringLiteral("Message-Id");
    case Organization:
        return QStringLiteral("Organization");
    case ReplyTo:
        return QStringLiteral("Reply-To");
    case ContentType:
        return QStringLiteral("Content-Type");
    case ContentId:
        return QStringLiteral("Content-ID");
    case ContentDescription:
        return QStringLiteral("Content-Description");
    case ContentLocation:
        return QStringLiteral("Content-Location");
    case ContentDisposition:
        return QStringLiteral("Content-Disposition");
    case MimeVersion:
        return QStringLiteral("Mime-Version");
    case XMailer:
        return QStringLiteral("X-Mailer");
    case XKVMessageId:
        return QStringLiteral("X-KV-Message-Id");
    default:
        return {};
    }
}
