#include "mailui/EmailSettingsSheet.h"

#include "mailui/SendContext.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"

using namespace ndb;

namespace
{
constexpr quint32 CaptionText = 14810;
} // namespace

EmailSettingsSheet::EmailSettingsSheet(ISendContext&, CNdbNewsletter& newsletter, CWnd* parent)
    : m_newsletter(newsletter), m_working(newsletter.Sender()), m_sheet(LoadAppString(CaptionText), parent)
{
    m_sheet.m_psh.dwFlags |= PSH_HASHELP;
    m_sheet.UseProgramButtonCaptions();
    m_sheet.AddPage(&m_general);
    m_sheet.AddPage(&m_delivery);
    m_sheet.AddPage(&m_plainText);
    m_sheet.AddPage(&m_attachments);
    m_sheet.AddPage(&m_services);
}

void EmailSettingsSheet::Fill()
{
    m_general.m_subject = m_newsletter.GetString(NewsletterName);
    CNdbFieldValue importance;
    if (m_newsletter.GetField(NewsletterImportance, importance))
        m_general.m_importance = importance.GetInt();
    const CNdbLayout& layout = m_newsletter.Layout();
    m_plainText.m_text = layout.GetString(LayoutPlainText);
    for (const auto& attachment : layout.Attachments())
        m_attachments.m_attachments.push_back(std::make_unique<CNdbResource>(*attachment));
}

bool EmailSettingsSheet::Run(int startPage)
{
    Fill();
    m_sheet.m_psh.nStartPage = UINT(startPage);
    if (m_sheet.DoModal() != IDOK)
        return false;
    Commit();
    return true;
}

void EmailSettingsSheet::Commit()
{
    m_newsletter.SetField(NewsletterName, CNdbFieldValue(m_general.m_subject));
    m_newsletter.SetField(NewsletterImportance, CNdbFieldValue(NdbValueIntCode, m_general.m_importance));
    CNdbLayout& layout = m_newsletter.Layout();
    layout.SetField(LayoutPlainText, CNdbFieldValue(m_plainText.m_text));
    layout.DeleteAllAttachments();
    for (auto& attachment : m_attachments.m_attachments)
        layout.Attachments().push_back(std::move(attachment));
    m_attachments.m_attachments.clear();
    m_newsletter.Sender() = m_working;
}

bool RunEmailSettings(ISendContext& context, int startPage, CWnd* parent)
{
    CNdbNewsletter* newsletter = context.GetCurrentNewsletter();
    if (!newsletter)
        return false;
    EmailSettingsSheet sheet(context, *newsletter, parent);
    return sheet.Run(startPage);
}
