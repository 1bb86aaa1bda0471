// The newsletter view's part of the bounce check: started when the statistics page is shown,
// its findings merged into the newsletter when the check ends.
#include "app/CommandIds.h"
#include "app/KVContext.h"
#include "app/ViewNewsletter.h"
#include "base/AppStrings.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "platform/ui/WinApp.h"

namespace
{
constexpr UINT NewStatusQuestion = 14814;
constexpr int StatusTemporaryFailure = 40;
constexpr int StatusPermanentFailure = 30;
} // namespace

void CViewNewsletter::StartBounceCheck()
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (newsletter && !m_bounceChecker.IsRunning())
        m_bounceChecker.Start(*newsletter, this);
}

LRESULT CViewNewsletter::OnBounceCheckDone(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter || m_bounceChecker.GetResults().empty())
        return 0;
    if (m_bounceChecker.GetNewsletterId() != newsletter->GetString(ndb::NewsletterId))
        return 0;
    if (!newsletter->IsModified() && AfxMessageBox(LoadAppString(NewStatusQuestion), MB_YESNO) != IDYES)
        return 0;
    MergeBounceResults(*newsletter);
    NewsletterChanged();
    m_summary.RenderReport();
    return 0;
}

void CViewNewsletter::MergeBounceResults(ndb::CNdbNewsletter& newsletter)
{
    {
        const auto lock = m_context->WriteDocument();
        // The next check skips every message this one has read.
        for (const auto& [messageId, recipientId] : m_bounceChecker.GetSeenMessages())
            newsletter.HandledBounces()[messageId] = true;
        for (const auto& [recipientId, temporary] : m_bounceChecker.GetResults())
        {
            if (const ndb::CNdbUser* user = newsletter.Users().FindById(recipientId))
                newsletter.Log().SetStatus(temporary ? StatusTemporaryFailure : StatusPermanentFailure,
                                           user->GetString(ndb::UserEmail));
        }
    }
    m_users.RefreshRows(newsletter.Users());
    m_users.ApplyFilter(false);
}
