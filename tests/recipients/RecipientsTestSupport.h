#pragma once

#include "dialogs/DialogTestSupport.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/WinApp.h"
#include "recipients/UsersContext.h"
#include "recipients/WndUsers.h"

#include <QCoreApplication>
#include <QTest>

#include <deque>
#include <memory>

// The open document of the recipient window's tests.
class FakeUsersContext : public IUsersContext
{
public:
    ndb::CNdbBase* GetCurrentDocument() const override { return document.get(); }
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override
    {
        return document && document->GetKind() == ndb::NdbKindNewsletter
                   ? static_cast<ndb::CNdbNewsletter*>(document.get())
                   : nullptr;
    }
    std::unique_lock<std::shared_mutex> WriteDocument() override { return std::unique_lock(mutex); }

    std::unique_ptr<ndb::CNdbBase> document;
    std::shared_mutex mutex;
};

// Records every message box and answers from a queue (IDYES when it is empty).
class RecordingApp : public CWinApp
{
public:
    int DoMessageBox(const QString& prompt, UINT type, UINT) override
    {
        messages << prompt;
        types << type;
        if (answers.empty())
            return IDYES;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList messages;
    QList<UINT> types;
    std::deque<int> answers;
};

// The main window: records the commands it is sent.
class RecordingMainWnd : public CWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(UINT(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> commands;
};

inline std::unique_ptr<ndb::CNdbUser> MakeUser(const QString& address, const QString& firstName = {})
{
    auto user = std::make_unique<ndb::CNdbUser>();
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
    if (!firstName.isEmpty())
        user->SetField(ndb::UserFirstName, ndb::CNdbFieldValue(firstName));
    return user;
}

// A recipient window over a newsletter or a mailing list, shown in a main window.
class UsersWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(main.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 900, 400), nullptr, 0));
        AfxSetMainWnd(&main);
    }
    void TearDown() override
    {
        windows.clear();
        AfxSetMainWnd(nullptr);
    }

    ndb::CNdbNewsletter& OpenNewsletter(FakeUsersContext& context)
    {
        context.document = std::make_unique<ndb::CNdbNewsletter>();
        return *static_cast<ndb::CNdbNewsletter*>(context.document.get());
    }
    ndb::CNdbMailGroup& OpenMailingList(FakeUsersContext& context, bool dynamic = false)
    {
        auto list = std::make_unique<ndb::CNdbMailGroup>();
        if (dynamic)
            list->SetField(ndb::MailGroupKind, ndb::CNdbFieldValue(ndb::NdbValueMailGroupKind, 1));
        context.document = std::move(list);
        return *static_cast<ndb::CNdbMailGroup*>(context.document.get());
    }
    CWndUsers& MakeWindow(FakeUsersContext& context, BYTE mailingList,
                          const CRect& place = CRect(0, 0, 900, 400))
    {
        windows.push_back(std::make_unique<CWndUsers>(&context, mailingList));
        CWndUsers& window = *windows.back();
        EXPECT_TRUE(window.Create(&main));
        window.MoveWindow(place.left, place.top, place.Width(), place.Height());
        window.ShowWindow(SW_SHOW);
        window.ReloadRows();
        QCoreApplication::processEvents();
        return window;
    }
    // The cells of the visible rows, in their order, for one column.
    static QStringList Column(CWndUsers& window, int column)
    {
        QStringList cells;
        for (int i = 0; i < window.GetList().GetRowCount(); ++i)
            cells << window.GetList().GetRow(i)->GetCellText(column);
        return cells;
    }
    void Command(CWndUsers& window, UINT id) { window.SendMessage(WM_COMMAND, id, 0); }

    RecordingApp app;
    RecordingMainWnd main;
    std::vector<std::unique_ptr<CWndUsers>> windows;
};
