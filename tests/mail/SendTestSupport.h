#pragma once

#include "MailDecoding.h"
#include "mail/KVSmtpServer.h"
#include "ndb/NdbNewsletter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QThread>

#include <map>
#include <memory>
#include <vector>

// A small newsletter to send and what its recipients' copies must hold.
namespace SendTest
{
inline const QString NewsletterId = QStringLiteral("{6C1D2A5E-0F4B-4A8E-9D11-3B7C2E9F1A40}");
inline const QString Template =
    QStringLiteral("<html><body><p>Dear [[[fc_130]]] [[[fc_150]]],</p><p>[[[fc_170]]]</p>"
                   "<a href=\"[[[WEBVIEWURL]]]\">web</a> <a href=\"[[[UNSUBSCRIBEURL]]]\">off</a> "
                   "[[[USEREMAIL]]]</body></html>");

// The first name holds markup and a token, which must arrive escaped and unexpanded.
inline QString FirstNameOf(int index)
{
    return QStringLiteral("N%1 <b>&amp; [[[USEREMAIL]]]").arg(index);
}

inline void SetSender(ndb::CNdbNewsletter& newsletter, int field, const ndb::CNdbFieldValue& value)
{
    newsletter.Sender().SetField(field, value);
}

// Recipients r0000@<domain> ... with first and last names; domains alternate over the list.
inline std::unique_ptr<ndb::CNdbNewsletter> MakeNewsletter(int recipients, const QStringList& domains)
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Spring news"));
    newsletter->SetField(ndb::NewsletterId, ndb::CNdbFieldValue(NewsletterId));
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(QStringLiteral("spring.kvnl")));
    newsletter->Layout().SetField(ndb::LayoutPlainText, ndb::CNdbFieldValue(QStringLiteral("Plain text")));
    SetSender(*newsletter, ndb::SenderFromAddress, ndb::CNdbFieldValue(QStringLiteral("news@sender.test")));
    SetSender(*newsletter, ndb::SenderFromName, ndb::CNdbFieldValue(QStringLiteral("News")));
    SetSender(*newsletter, ndb::SenderSiteAddress, ndb::CNdbFieldValue(QStringLiteral("http://site.test")));
    for (int i = 0; i < recipients; ++i)
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("r%1@%2")
                                                               .arg(i, 4, 10, QLatin1Char('0'))
                                                               .arg(domains.at(i % domains.size()))));
        user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(FirstNameOf(i)));
        user->SetField(ndb::UserLastName, ndb::CNdbFieldValue(QStringLiteral("Last%1").arg(i)));
        newsletter->Users().AddUser(std::move(user));
    }
    return newsletter;
}

inline void UseRelay(ndb::CNdbNewsletter& newsletter, int port)
{
    SetSender(newsletter, ndb::SenderDelivery, ndb::CNdbFieldValue(ndb::NdbValueSenderKind, 1));
    SetSender(newsletter, ndb::SenderRelayServer, ndb::CNdbFieldValue(QStringLiteral("127.0.0.1")));
    SetSender(newsletter, ndb::SenderRelayPort, ndb::CNdbFieldValue(ndb::NdbValueInt, port));
}

inline std::vector<ndb::CNdbUser*> AllUsers(const ndb::CNdbNewsletter& newsletter)
{
    std::vector<ndb::CNdbUser*> users;
    for (const auto& user : newsletter.Users().GetUsers())
        users.push_back(user.get());
    return users;
}

inline CVexaMail MakeMessage()
{
    CVexaMail message(QString(), QString(), 25, QString(), QString());
    message.SetHtmlBody(Template);
    return message;
}

inline const std::map<int, bool> FieldCodes{{130, true}, {150, true}, {170, false}};

// Starts a send of the recipients and waits for its workers to end.
inline bool SendAndWait(CKVSmtpServer& engine, const ndb::CNdbNewsletter& newsletter,
                        std::vector<ndb::CNdbUser*> users, int seconds = 60,
                        ISendObserver* observer = nullptr)
{
    if (!engine.Start(MakeMessage(), &newsletter, QStringLiteral("http://site.test/admin/u.php"), observer,
                      std::move(users), FieldCodes))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (engine.GetRunningWorkers() > 0 && timer.elapsed() < seconds * 1000)
    {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return engine.GetRunningWorkers() == 0;
}

// The send log written from the engine's queue as the status dialog does.
inline void WriteLog(CKVSmtpServer& engine, ndb::CNdbLog& log)
{
    for (const auto& [address, status] : engine.GetStatuses())
    {
        log.CountAttempt(address);
        if (status == SendQueueEntry::Sent)
            log.SetStatus(ndb::NdbSendSent, address);
        else if (status == SendQueueEntry::Failed)
            log.SetStatus(ndb::NdbSendFailedPermanently, address);
        else if (status == SendQueueEntry::Deferred)
            log.SetStatus(ndb::NdbSendPending, address);
    }
}

// What a sink received of one message.
struct ReceivedCopy
{
    QString to;
    QString trackingId;
    QString html;
};

inline ReceivedCopy ReadCopy(const QByteArray& message)
{
    ReceivedCopy copy;
    const QString text = QString::fromLatin1(message);
    const auto header = [&](const QString& name)
    {
        const QRegularExpression pattern(QStringLiteral("(?:^|\\r\\n)%1: ([^\\r\\n]*)").arg(name));
        return pattern.match(text).captured(1);
    };
    copy.to = header(QStringLiteral("To"));
    copy.trackingId = header(QStringLiteral("X-KV-Message-Id"));
    const qsizetype html = message.indexOf("text/html");
    const qsizetype start = message.indexOf("\r\n\r\n", html);
    const qsizetype end = message.indexOf("\r\n--", start);
    if (html >= 0 && start >= 0 && end > start)
        copy.html = QString::fromLatin1(
            MailDecoding::DecodeQuotedPrintable(message.mid(start + 4, end - start - 4)).value_or(""));
    return copy;
}
} // namespace SendTest
