// The FTP settings, mailing-list name and framework installation dialogs as the user meets them.
#include "ServicesUiSupport.h"
#include "services/QorxReplies.h"
#include "support/ScriptedHttpServer.h"

#include "platform/ui/ComboBox.h"
#include "servicesui/DlgCreateMailingList.h"
#include "servicesui/DlgFtpAdvanced.h"
#include "servicesui/DlgQorxInstall.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace DialogTest;
using namespace ServicesUi;

namespace
{
constexpr int IdPort = 1045;
constexpr int IdConnections = 1107;
constexpr int IdActive = 1074;
constexpr int IdListName = 1333;
constexpr int IdInstall = 1465;

CWnd& Wnd(QWidget* window)
{
    return *CWnd::FromHandle(window);
}
} // namespace

TEST(DlgFtpAdvanced, ConnectionsOutsideTheListAreKeptAndThePortMustBeAWholeNumber)
{
    ScopedSettings settings;
    for (const int connections : {0, 11, 4})
    {
        SCOPED_TRACE(connections);
        CDlgFtpAdvanced dialog;
        dialog.m_connections = connections;
        dialog.m_ftpPort = 2121;
        QString told;
        ModalScript script;
        script
            .ThenTitled("FTP and Web Server Advanced Settings",
                        [&](QWidget* window)
                        {
                            auto* list = dynamic_cast<CComboBox*>(Wnd(window).GetDlgItem(IdConnections));
                            EXPECT_EQ(list->GetCount(), 10);
                            EXPECT_EQ(list->GetCurSel(), connections == 4 ? 3 : -1);
                            Click(Wnd(window), IdActive);
                            Type(Wnd(window), IdPort, QString());
                            ClickButton(window, "OK");
                        })
            .Then([](QWidget* w) { return w->inherits("QMessageBox"); },
                  [&](QWidget* box)
                  {
                      told = box->property("text").toString();
                      ClickButton(box, "OK");
                  })
            .ThenAgain([&](QWidget* w) { return w == dialog.GetSafeHwnd(); },
                       [&](QWidget* window)
                       {
                           Type(Wnd(window), IdPort, "21");
                           ClickButton(window, "OK");
                       });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(told, "Please enter an integer.");
        EXPECT_EQ(dialog.m_connections, connections);
        EXPECT_EQ(dialog.m_connectionType, CDlgFtpAdvanced::Active);
        EXPECT_EQ(dialog.m_ftpPort, 21);
    }
}

TEST(DlgCreateMailingList, TakesTheNameAsTypedAlsoEmpty)
{
    ScopedSettings settings;
    for (const QString& name : {QString::fromUtf16(u" Kunden \u00C4 "), QString()})
    {
        CDlgCreateMailingList dialog;
        dialog.m_name = "before";
        ModalScript script;
        script.ThenTitled("Create Mailing List",
                          [&](QWidget* window)
                          {
                              Type(Wnd(window), IdListName, name);
                              if (!name.isEmpty())
                                  SaveArtifact(Wnd(window), "dialog_321.png");
                              ClickButton(window, "OK");
                          });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_name, name);
    }
}

TEST(DlgQorxInstall, PackagesAndServicePagesFollowTheServerType)
{
    CDlgQorxInstall dialog;
    dialog.m_languageCode = "de";
    dialog.m_frameworkUrl = "http://example.com/news/admin/qorx_2_services_lamp.php";
    dialog.m_serverType = "php";
    EXPECT_EQ(dialog.ManifestPath("/q/", "ws_stats_newsletter"), "/q/ws_stats_newsletter_lamp_de.xml");
    EXPECT_EQ(dialog.ServiceUrl("ws_mailinglist"),
              "http://example.com/news/admin/ws_mailinglist_services_lamp.php");
    dialog.m_serverType = "asp";
    EXPECT_EQ(dialog.ManifestPath("/q/", "qorx_system_2_localhost"),
              "/q/qorx_system_2_localhost_wisa_de.xml");
    EXPECT_EQ(dialog.ServiceUrl("ws_stats_newsletter"),
              "http://example.com/news/admin/ws_stats_newsletter_services_wisa.asp");
    dialog.m_frameworkUrl = "page.asp";
    EXPECT_EQ(dialog.ServiceUrl("ws_mailinglist"), "ws_mailinglist_services_wisa.asp");
    dialog.m_serverType = "PHP";
    EXPECT_TRUE(dialog.ManifestPath("/q/", "ws_mailinglist").isEmpty());
    EXPECT_TRUE(dialog.ServiceUrl("ws_mailinglist").isEmpty());
}

TEST(DlgQorxInstall, TellsEachOutcomeAndEndsOnlyWhenTheFlowIsOver)
{
    ScopedSettings settings;
    ScriptedHttpServer framework;
    const QString adminPath = "/site/admin/qorx_2_services_lamp.php";
    framework.SetReply(adminPath + "?cmd=getstatus", QorxReplies::Status("qorxsystem", "ok", 99));
    struct Case
    {
        QString serverType;
        QString told;
        INT_PTR result;
    };
    for (const Case& c : {Case{"php", "Newer version of Quorvane already exists!", IDOK},
                          Case{"static", "Unknown error in FrameworkGetStatus()", IDCANCEL}})
    {
        SCOPED_TRACE(c.serverType.toStdString());
        CDlgQorxInstall dialog;
        dialog.m_frameworkUrl = framework.Url(adminPath);
        dialog.m_languageCode = "en";
        dialog.m_serverType = c.serverType;
        dialog.m_ftpServer = "127.0.0.1";
        dialog.m_ftpPort = 1;
        QString told;
        ModalScript script;
        script.ThenTitled("Install Quorvane", [](QWidget* window) { Click(Wnd(window), IdInstall); })
            .Then([](QWidget* w) { return w->inherits("QMessageBox"); },
                  [&](QWidget* box)
                  {
                      told = box->property("text").toString();
                      ClickButton(box, "OK");
                  });
        if (c.result == IDCANCEL)
            script.ThenAgain([&](QWidget* w) { return w == dialog.GetSafeHwnd(); },
                             [](QWidget* window) { ClickButton(window, "Cancel"); });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(told, c.told);
        EXPECT_FALSE(dialog.m_installed);
    }
}
