#pragma once

#include <QByteArray>
#include <QString>

// Returned mail as a relay sends it back, for the bounce check's tests.
namespace BounceReports
{
// The header that carries a sent copy's tracking id: the newsletter id, then the recipient id.
inline QByteArray TrackingHeader(const QString& newsletterId, const char* recipientId)
{
    return "X-KV-Message-Id: <" + newsletterId.toLatin1() + "___" + recipientId + "@sender.test>\n";
}

// A delivery status notification returning the newsletter's copy to one recipient.
inline QByteArray Report(const QString& newsletterId, const char* recipientId, const QByteArray& statusLine)
{
    return "From: MAILER-DAEMON@relay.test\nSubject: Undelivered Mail Returned to Sender\n"
           "Content-Type: multipart/report; report-type=delivery-status; boundary=\"b\"\n\n"
           "--b\nContent-Type: text/plain\n\nYour message could not be delivered.\n\n"
           "--b\nContent-Type: message/delivery-status\n\nReporting-MTA: dns; relay.test\n\n"
           "Final-Recipient: rfc822; someone@example.test\nAction: failed\n" +
           statusLine + "\n--b\nContent-Type: text/rfc822-headers\n\nFrom: news@sender.test\n" +
           TrackingHeader(newsletterId, recipientId) + "\n--b--\n";
}
} // namespace BounceReports
