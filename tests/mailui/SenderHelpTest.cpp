// Every settings page and dialog of the sender and the site accounts asks for its own help page.
#include "EmailSettingsSupport.h"

#include "dialogs/ShowHelp.h"
#include "mailui/DlgSendOptionsMoreSettings.h"
#include "mailui/DlgServicesMoreSettings.h"
#include "mailui/DlgSiteAccounts.h"
#include "mailui/EmailSettingsSheet.h"

using namespace ndb;
using DialogTest::ClickButton;
using DialogTest::ModalScript;

namespace
{
class CHelpRecorder : public CWnd
{
public:
    std::vector<WPARAM> topics;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_SHOW_HELP)
            topics.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Runs the dialog, presses its Help button and closes it.
void PressHelp(CDialog& dialog, const QString& close)
{
    ModalScript script;
    script.Then([&](QWidget* w) { return w == dialog.GetSafeHwnd(); },
                [&](QWidget* window)
                {
                    ClickButton(window, QStringLiteral("Help"));
                    ClickButton(window, close);
                });
    script.Start();
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
}
} // namespace

TEST(SenderHelp, EachPageAndDialogAsksForItsOwnTopic)
{
    ServicesUi::ScopedSettings settings;
    CHelpRecorder mainWnd;
    ASSERT_TRUE(mainWnd.Create(QString(), QString(), 0, CRect(0, 0, 10, 10), nullptr, 0));
    AfxSetMainWnd(&mainWnd);
    CNdbNewsletter newsletter;
    EmailSettingsTest::FakeContext context(&newsletter);
    for (const int page : {EmailSettingsSheet::DeliveryPage, EmailSettingsSheet::ServicesPage})
    {
        EmailSettingsSheet sheet(context, newsletter);
        sheet.Sheet().m_psh.nStartPage = UINT(page);
        PressHelp(sheet.Sheet(), QStringLiteral("Cancel"));
    }
    CNdbSender sender;
    CDlgSendOptionsMoreSettings delivery(&sender);
    PressHelp(delivery, QStringLiteral("Cancel"));
    CDlgServicesMoreSettings services(&sender);
    PressHelp(services, QStringLiteral("Cancel"));
    CDlgSiteAccounts accounts;
    PressHelp(accounts, QStringLiteral("Close"));
    QCoreApplication::processEvents();
    AfxSetMainWnd(nullptr);
    EXPECT_EQ(mainWnd.topics, (std::vector<WPARAM>{175, 319, 306, 320, 315}));
}
