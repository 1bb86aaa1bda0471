#pragma once

#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"

#include <QFile>

#include <memory>

// The newsletter whose Send dialog summary is data/dlgsend-summary.htm: every field the summary
// reads is set, values hold markup, and two of its four recipients are still to be mailed.
namespace SendSummaryFixture
{
using namespace ndb;

inline const QString ExpectedPagePath =
    QStringLiteral(KV_SOURCE_DIR "/tests/mailui/data/dlgsend-summary.htm");

inline QString ExpectedPage()
{
    QFile file(ExpectedPagePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline void SetSender(CNdbNewsletter& newsletter, int field, const QString& text)
{
    newsletter.Sender().SetField(field, CNdbFieldValue(text));
}

inline void SetSwitch(CNdbNewsletter& newsletter, int field, bool on)
{
    newsletter.Sender().SetField(field, CNdbFieldValue(NdbValueBool, on ? 1 : 0));
}

inline CNdbUser* AddRecipient(CNdbNewsletter& newsletter, const QString& address)
{
    auto user = std::make_unique<CNdbUser>();
    user->SetField(UserEmail, CNdbFieldValue(address));
    CNdbUser* added = user.get();
    newsletter.Users().AddUser(std::move(user));
    return added;
}

inline std::unique_ptr<CNdbNewsletter> MakeFixture()
{
    auto newsletter =
        std::make_unique<CNdbNewsletter>(QStringLiteral("Spring <script>alert(1)</script> & more"));
    newsletter->Layout().SetField(LayoutHtml, CNdbFieldValue(QStringLiteral("<p>Harbour lights</p>")));
    SetSender(*newsletter, SenderFromAddress, QStringLiteral("news@sender.test"));
    SetSender(*newsletter, SenderFromName, QStringLiteral("Tom & Co"));
    SetSender(*newsletter, SenderOrganization, QStringLiteral("Harbour \"Lights\""));
    SetSender(*newsletter, SenderReplyTo, QStringLiteral("reply@sender.test"));
    newsletter->Sender().SetField(SenderDelivery, CNdbFieldValue(NdbValueSenderKind, 1));
    SetSwitch(*newsletter, SenderBounceEnabled, true);
    SetSwitch(*newsletter, SenderWebView, true);
    SetSwitch(*newsletter, SenderSiteWebView, true);
    SetSwitch(*newsletter, SenderTracking, true);
    SetSwitch(*newsletter, SenderSiteStatistics, false);
    auto attachment = std::make_unique<CNdbResource>();
    attachment->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("price list.pdf")));
    newsletter->Layout().Attachments().push_back(std::move(attachment));
    AddRecipient(*newsletter, QStringLiteral("ann@one.test"));
    AddRecipient(*newsletter, QStringLiteral("bo@one.test"));
    AddRecipient(*newsletter, QStringLiteral("cy@one.test"))
        ->SetField(UserEnabled, CNdbFieldValue(NdbValueBool, 0));
    AddRecipient(*newsletter, QStringLiteral("di@one.test"));
    newsletter->Log().SetStatus(NdbSendSent, QStringLiteral("di@one.test"));
    return newsletter;
}

} // namespace SendSummaryFixture
