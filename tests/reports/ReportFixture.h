#pragma once

#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "reports/ReportPage.h"

#include <QDateTime>

#include <memory>

// A newsletter with a sender profile, recipients and a send log, and a scripted statistics
// service for its report page.
class ReportFixture
{
public:
    static inline const QString ServicePath =
        QStringLiteral("/site/admin/ws_stats_newsletter_services_lamp.php");

    ReportFixture()
    {
        ClearProxyEnvironment();
        m_newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(QStringLiteral("{CHANNEL-1}")));
        m_newsletter.SetField(ndb::NewsletterName,
                              ndb::CNdbFieldValue(QStringLiteral("Spring & Summer News")));
    }

    ndb::CNdbUser& AddRecipient(const QString& address, int status = -1, const QString& first = {},
                                const QString& last = {})
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
        user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(first));
        user->SetField(ndb::UserLastName, ndb::CNdbFieldValue(last));
        ndb::CNdbUser& added = *user;
        m_newsletter.Users().AddUser(std::move(user));
        if (status >= 0)
            m_newsletter.Log().SetStatus(status, address);
        return added;
    }
    void SetFirstAttempt(const QString& address, const QDateTime& time)
    {
        auto* entry = const_cast<ndb::CNdbLogEntry*>(m_newsletter.Log().FindEntry(address));
        entry->SetField(ndb::LogEntryFirstAttempt, ndb::CNdbFieldValue(time));
    }
    void SetStatisticsOn(bool tracking = true, bool services = true)
    {
        ndb::CNdbSender& sender = m_newsletter.Sender();
        sender.SetField(ndb::SenderTracking, ndb::CNdbFieldValue(ndb::NdbValueBool, tracking));
        sender.SetField(ndb::SenderDynamicServices, ndb::CNdbFieldValue(ndb::NdbValueBool, services));
        sender.SetField(ndb::SenderSiteAccess630, ndb::CNdbFieldValue(QStringLiteral("admin")));
        sender.SetField(ndb::SenderSiteAccess631, ndb::CNdbFieldValue(QStringLiteral("secret")));
    }
    void Answer(const QString& command, const QString& inner)
    {
        m_server.SetReply(
            ServicePath + QStringLiteral("?cmd=") + command,
            QStringLiteral("<ws_stats_newsletter_stats_%1 status=\"ok\">%2</ws_stats_newsletter_stats_%1>")
                .arg(command, inner));
    }
    CReportPage Page(const ReportSettings& settings = {})
    {
        return CReportPage(m_newsletter, settings, m_server.Url(ServicePath), QStringLiteral("Sans"),
                           [](const QString& path)
                           { return QStringLiteral("http://localhost:8123/") + path; });
    }

    ndb::CNdbNewsletter m_newsletter;
    ScriptedHttpServer m_server;
};
