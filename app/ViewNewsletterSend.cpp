// The newsletter view's commands that start a delivery, the test recipient and the bounce check.
#include "app/BorrowedUserList.h"
#include "app/KVContext.h"
#include "app/TestRecipient.h"
#include "app/ViewNewsletter.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "mailui/DlgSend.h"
#include "mailui/EmailSettingsSheet.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"
#include "recipients/DlgUserAdd.h"

#include <set>

namespace
{
enum StringIds
{
    AddRecipientsQuestion = 14803,
    NoRecipientsEnabledText = 14804,
    SentToAllText = 14805,
    SentToRecipientText = 14806,
    NoFromAddressText = 14807,
    NoSubjectQuestion = 14808,
    EditingText = 14809,
    NoTestAddressText = 14811,
    TestSendQuestion = 14812,
    SelectedOnlyQuestion = 14813,
    NewStatusQuestion = 14814,
};

void SendToMainWindow(UINT command)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, command);
}
} // namespace

LRESULT CViewNewsletter::OnEmailSettingsDelivery(WPARAM, LPARAM)
{
    RunSettingsSheet(EmailSettingsSheet::DeliveryPage);
    return 0;
}

bool CViewNewsletter::RunSendChecks(const ndb::CNdbUserList& recipients, bool save, bool testSend)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return false;
    if (recipients.CountEnabled() == 0)
    {
        if (!m_users.IsWindow() || m_users.IsWindowVisible())
            AfxMessageBox(LoadAppString(NoRecipientsEnabledText), MB_ICONINFORMATION);
        else if (AfxMessageBox(LoadAppString(AddRecipientsQuestion), MB_YESNO | MB_ICONQUESTION) == IDYES)
            ShowPage(2, ID_VIEW_SUBSCRIBERS);
        return false;
    }
    // A test send reaches its recipient whatever the send log says.
    if (!testSend && recipients.CountPending(newsletter) == 0)
    {
        AfxMessageBox(LoadAppString(recipients.GetCount() >= 2 ? SentToAllText : SentToRecipientText),
                      MB_ICONINFORMATION);
        return false;
    }
    if (newsletter->Sender().GetString(ndb::SenderFromAddress).isEmpty())
    {
        AfxMessageBox(LoadAppString(NoFromAddressText), MB_ICONINFORMATION);
        OnEmailSettings(0, 0);
        return false;
    }
    if (newsletter->GetString(ndb::NewsletterName).isEmpty() &&
        AfxMessageBox(LoadAppString(NoSubjectQuestion), MB_YESNO | MB_ICONQUESTION) == IDYES)
        OnEmailSettings(0, 0);
    if (IsEditing())
    {
        AfxMessageBox(LoadAppString(EditingText), MB_ICONINFORMATION);
        ShowPage(1, ID_VIEW_EMAIL);
        return false;
    }
    for (;;)
    {
        CDlgSend dialog(m_context, recipients, testSend, this);
        const INT_PTR result = dialog.DoModal();
        if (result == IDCANCEL)
            return false;
        if (result != CDlgSend::EmailSettingsButton)
            break;
        OnEmailSettings(0, 0);
    }
    m_users.RefreshRows(recipients);
    m_users.ApplyFilter(false);
    if (save)
    {
        // The send log goes to disk at once.
        newsletter->SetModified(true);
        SendToMainWindow(ID_FILE_SAVE);
    }
    else
        SendToMainWindow(ID_CURBASE_CHANGED);
    return true;
}

LRESULT CViewNewsletter::OnSend(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return 0;
    std::set<const ndb::CNdbUser*> selected;
    if (m_users.IsWindowVisible())
    {
        CWndUsers::SelectedUsers rows;
        m_users.GetSelectedUsers(rows);
        for (const auto& [row, user] : rows)
            selected.insert(user);
    }
    if (!selected.empty())
    {
        const int answer =
            AfxMessageBox(LoadAppString(SelectedOnlyQuestion), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return 0;
        if (answer == IDNO)
            selected.clear();
    }
    CBorrowedUserList recipients;
    for (const auto& user : newsletter->Users().GetUsers())
    {
        if (user->IsEnabled() && (selected.empty() || selected.count(user.get()) != 0))
            recipients.Add(user.get());
    }
    RunSendChecks(recipients.Get(), true, false);
    return 0;
}

bool CViewNewsletter::EditTestRecipient(ndb::CNdbUser& user)
{
    CDlgUserAdd dialog(CDlgUserAdd::ModeEditTest, this);
    dialog.m_user = user;
    if (dialog.DoModal() != IDOK)
        return false;
    user = dialog.m_user;
    TestRecipient::Save(user);
    return true;
}

LRESULT CViewNewsletter::OnTestSend(WPARAM, LPARAM)
{
    if (!IsNewsletterOpen())
        return 0;
    ndb::CNdbUser user;
    TestRecipient::Load(user);
    for (;;)
    {
        const QString address = user.GetString(ndb::UserEmail).trimmed();
        if (!address.isEmpty())
        {
            if (AfxMessageBox(FormatResourceText(LoadAppString(TestSendQuestion), {address}),
                              MB_YESNO | MB_ICONQUESTION) == IDYES)
            {
                // The message goes to the address offered, without the blanks around it.
                user.SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
                CBorrowedUserList recipients;
                recipients.Add(&user);
                RunSendChecks(recipients.Get(), false, true);
            }
            return 0;
        }
        if (AfxMessageBox(LoadAppString(NoTestAddressText), MB_OKCANCEL | MB_ICONINFORMATION) != IDOK ||
            !EditTestRecipient(user))
            return 0;
    }
}

LRESULT CViewNewsletter::OnTestSendSettings(WPARAM, LPARAM)
{
    if (!IsNewsletterOpen())
        return 0;
    ndb::CNdbUser user;
    TestRecipient::Load(user);
    EditTestRecipient(user);
    return 0;
}

void CViewNewsletter::StartBounceCheck()
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (newsletter && !m_bounceChecker.IsRunning())
        m_bounceChecker.Start(*newsletter, [this] { PostMessage(WM_BOUNCECHECKDONE, 0, 0); });
}

LRESULT CViewNewsletter::OnBounceCheckDone(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    const CBounceChecker::ResultMap results = m_bounceChecker.GetResults();
    // Results of a check started for another newsletter are not this one's.
    if (!newsletter || results.empty() ||
        m_bounceChecker.GetNewsletterId() != newsletter->GetString(ndb::NewsletterId))
        return 0;
    if (!newsletter->IsModified() &&
        AfxMessageBox(LoadAppString(NewStatusQuestion), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    CBorrowedUserList bounced;
    {
        const auto lock = m_context->WriteDocument();
        for (const auto& [messageId, recipientId] : m_bounceChecker.GetSeenMessages())
            newsletter->HandledBounces()[messageId] = true;
        for (const auto& [recipientId, temporary] : results)
        {
            ndb::CNdbUser* user = newsletter->Users().FindById(recipientId);
            if (!user)
                continue;
            bounced.Add(user);
            newsletter->Log().SetStatus(temporary ? ndb::NdbSendPending : ndb::NdbSendFailedPermanently,
                                        user->GetString(ndb::UserEmail));
        }
    }
    m_users.RefreshRows(bounced.Get());
    m_users.ApplyFilter(false);
    newsletter->SetModified(true);
    SendToMainWindow(ID_CURBASE_CHANGED);
    m_summary.RenderReport();
    return 0;
}
