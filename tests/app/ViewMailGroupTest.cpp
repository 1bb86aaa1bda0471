#include "app/ViewMailGroup.h"
#include "app/KVContext.h"
#include "base/INetFile.h"
#include "controls/CommandIds.h"
#include "ndb/NdbMailGroup.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"
#include "support/NoProxy.h"
#include "support/ScriptedHttpServer.h"

#include <QTest>

#include <gtest/gtest.h>

namespace
{
class AnsweringApp : public CWinApp
{
public:
    int DoMessageBox(const QString& prompt, UINT, UINT) override
    {
        messages << prompt;
        return IDOK;
    }
    QStringList messages;
};

const char* Reply = R"(<?xml version="1.0" encoding="utf-8"?>
<ws_mailinglist_list_getsubscriptionusers status="ok">
  <user email="on@x.com" subscribe="true" html="true"/>
  <user email="off@x.com" subscribe="false" html="0"/>
  <user email="" subscribe="true"/>
  <user email="text@x.com" subscribe="true" html="false"/>
</ws_mailinglist_list_getsubscriptionusers>)";

class ViewMailGroupFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearProxyEnvironment();
        CINetFile::SetTimeout(10000);
        auto list = std::make_unique<ndb::CNdbMailGroup>();
        list->SetField(ndb::MailGroupKind, ndb::CNdbFieldValue(ndb::NdbValueMailGroupKind, 1));
        list->SetField(ndb::MailGroupSite251, ndb::CNdbFieldValue(server.Url(QStringLiteral("/ws/ml.php"))));
        list->SetField(ndb::MailGroupSite200, ndb::CNdbFieldValue(QStringLiteral("ad min")));
        list->SetField(ndb::MailGroupSite210, ndb::CNdbFieldValue(QStringLiteral("p&ss=\u00E9")));
        list->SetField(ndb::MailGroupServerList270, ndb::CNdbFieldValue(QStringLiteral("group 1&x")));
        auto kept = std::make_unique<ndb::CNdbUser>();
        kept->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("kept@x.com")));
        list->Users().AddUser(std::move(kept));
        context.SetCurrentDocument(std::move(list));
        ASSERT_TRUE(main.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 800, 400), nullptr, 0));
        ASSERT_TRUE(view.Create(&main, CRect(0, 0, 800, 400)));
        view.ShowWindow(SW_SHOW);
        view.OnDocumentChanged();
    }

    QStringList Addresses() const
    {
        QStringList addresses;
        for (const auto& user : context.GetOpenMailingList()->Users().GetUsers())
            addresses << user->GetString(ndb::UserEmail);
        return addresses;
    }

    AnsweringApp app;
    ScriptedHttpServer server;
    CKVContext context;
    CWnd main;
    CViewMailGroup view{&context};
};
} // namespace

TEST_F(ViewMailGroupFixture, UpdateReadsSubscribersAndEncodesTheQuery)
{
    EXPECT_TRUE(view.GetUsersWindow().IsReadOnly());
    server.SetReply(QStringLiteral("*"), QString::fromUtf8(Reply));
    ASSERT_TRUE(view.UpdateDynamicList());
    EXPECT_EQ(Addresses(), QStringList({"on@x.com", "off@x.com", "text@x.com"}));
    const auto& users = context.GetOpenMailingList()->Users();
    EXPECT_TRUE(users.GetUserAt(0)->IsEnabled());
    EXPECT_FALSE(users.GetUserAt(1)->IsEnabled());
    EXPECT_TRUE(users.GetUserAt(1)->GetBool(ndb::UserHtmlMail, false));
    EXPECT_FALSE(users.GetUserAt(2)->GetBool(ndb::UserHtmlMail, true));
    EXPECT_EQ(view.GetUsersWindow().GetList().GetRowCount(), 3);
    ASSERT_EQ(server.Requests().size(), 1);
    EXPECT_EQ(server.Requests().front().toStdString(),
              QStringLiteral("/ws/ml.php?adminusername=ad%20min&adminpassword=p%26ss%3D%C3%A9&type=list"
                             "&cmd=getsubscriptionusers&channelgroupid=group%20%31%26x")
                  .toStdString());
    view.GetSafeHwnd()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/recipients-mailing-list-view.png"));
}

TEST_F(ViewMailGroupFixture, FailedUpdateKeepsTheRecipientsAndSaysSo)
{
    const std::pair<int, QString> failures[] = {
        {500, QString::fromUtf8(Reply)},
        {200, QStringLiteral("<ws_mailinglist_list_getsubscriptionusers status=\"error\"/>")},
        {200, QStringLiteral("<other status=\"ok\"><user email=\"a@x.com\"/></other>")},
    };
    for (const auto& [status, body] : failures)
    {
        server.SetReply(QStringLiteral("*"), body, status);
        app.messages.clear();
        view.SendMessage(WM_COMMAND, ID_MAILING_LIST_UPDATE, 0);
        EXPECT_EQ(Addresses(), QStringList({"kept@x.com"})) << status << body.toStdString();
        EXPECT_EQ(app.messages, QStringList({LoadAppString(14603)}));
    }
}
