#pragma once

#include "controls/KVPropertySheet.h"
#include "mailui/PageSenderAttachments.h"
#include "mailui/PageSenderGeneral.h"
#include "mailui/PageSenderPlainText.h"
#include "mailui/PageSenderSendOptions.h"
#include "mailui/PageSenderServices.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbSender.h"

class ISendContext;

// The e-mail settings of one newsletter: its pages edit copies of the sender record, the
// subject, importance, plain text and attachments, and only OK writes them back.
class EmailSettingsSheet
{
public:
    // Start pages of the view's commands.
    static constexpr int GeneralPage = 0;
    static constexpr int DeliveryPage = 1;
    static constexpr int ServicesPage = 4;

    EmailSettingsSheet(ISendContext& context, ndb::CNdbNewsletter& newsletter, CWnd* parent = nullptr);

    // True when the sheet ended with OK and the newsletter took the settings.
    bool Run(int startPage);

    // For the view's tests: the sheet while it runs.
    CKVPropertySheet& Sheet() { return m_sheet; }
    CPageSenderGeneral& General() { return m_general; }
    CPageSenderSendOptions& Delivery() { return m_delivery; }
    CPageSenderPlainText& PlainText() { return m_plainText; }
    CPageSenderAttachments& Attachments() { return m_attachments; }
    CPageSenderServices& Services() { return m_services; }

private:
    void Fill();
    void Commit();

    ndb::CNdbNewsletter& m_newsletter;
    ndb::CNdbSender m_working;
    CKVPropertySheet m_sheet;
    CPageSenderGeneral m_general{&m_working};
    CPageSenderSendOptions m_delivery{&m_working, &m_newsletter.Users()};
    CPageSenderPlainText m_plainText;
    CPageSenderAttachments m_attachments;
    CPageSenderServices m_services{&m_working};
};

// The view's "Email Settings" commands: runs the sheet over the open newsletter; false, and
// nothing shown, when the open document is not a newsletter or the sheet was cancelled.
bool RunEmailSettings(ISendContext& context, int startPage, CWnd* parent = nullptr);
