#pragma once

#include "app/WndHelp.h"
#include "base/AppSettings.h"
#include "platform/core/Shell.h"
#include "platform/ui/HtmlDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

constexpr int HelpLoadTimeoutMs = 60000;

// A data folder for one test: the installed help pages, copied so that a test may change them,
// and an intro program that leaves a mark when it runs. Pages opened online are recorded instead
// of launched.
class HelpDataFolder
{
public:
    HelpDataFolder()
    {
        const QString content = m_dir.filePath("help/content/en/");
        QDir().mkpath(content);
        const QDir installed(QStringLiteral(KV_SOURCE_DIR "/data/help/content/en"));
        for (const QString& name : installed.entryList(QDir::Files))
            QFile::copy(installed.filePath(name), content + name);
        QDir().mkpath(m_dir.filePath("help/intro/en"));
        QFile intro(m_dir.filePath("help/intro/en/intro.exe"));
        intro.open(QIODevice::WriteOnly);
        intro.write("#!/bin/sh\ntouch '" + IntroMarker().toUtf8() + "'\n");
        intro.setPermissions(intro.permissions() | QFileDevice::ExeOwner);
        intro.close();
        // The layout editor of a main window reads the spam words from the same folder.
        QDir().mkpath(m_dir.filePath("spamdb"));
        QFile::copy(QStringLiteral(KV_SOURCE_DIR "/data/spamdb/spamdb.dat"),
                    m_dir.filePath("spamdb/spamdb.dat"));
        // The settings key is known once the paths were read.
        InitAppPaths();
        WriteAppSettingString(HKEY_CURRENT_USER, "SystemPath", m_dir.path());
        // Store pages open only where a store is set; the handler below records them.
        WriteAppSettingString(HKEY_CURRENT_USER, "StoreAddress", "https://store.example");
        InitAppPaths();
        SetShellOpenHandler(
            [this](const QString& url)
            {
                opened.append(url);
                return true;
            });
    }
    ~HelpDataFolder()
    {
        SetShellOpenHandler({});
        DeleteRegValueInUser(GetAppRegistryKey(), "SystemPath");
        DeleteRegValueInUser(GetAppRegistryKey(), "StoreAddress");
        InitAppPaths();
    }

    QString HelpFolder() const { return m_dir.filePath("help/content/en/"); }
    QString IntroMarker() const { return m_dir.filePath("intro-ran"); }
    void WritePage(const QString& name, const QByteArray& html)
    {
        QFile file(HelpFolder() + name);
        file.open(QIODevice::WriteOnly);
        file.write(html);
    }

    QStringList opened;

private:
    QTemporaryDir m_dir;
};

// The help window with a record of the pages its browser completed.
class CRecordingHelp : public CWndHelp
{
public:
    QStringList completed;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == UM_BROWSER_DOCUMENT_COMPLETE)
            completed.append(*reinterpret_cast<const QString*>(lParam));
        return CWndHelp::WindowProc(message, wParam, lParam);
    }

    // Runs the action and waits until the browser has completed one more page; that page's URL.
    QUrl LoadAfter(const std::function<void()>& action)
    {
        const qsizetype before = completed.size();
        action();
        if (!QTest::qWaitFor([&] { return completed.size() > before; }, HelpLoadTimeoutMs))
            return {};
        return QUrl(completed.last());
    }

    // Loads the page again and checks that its load is the only one since the count of loads was
    // taken: a load that something before had started would have completed first.
    void ExpectOnlyLoadSince(qsizetype loads, const QUrl& page)
    {
        EXPECT_EQ(LoadAfter([&] { GetBrowser().Navigate(page.toString()); }), page);
        EXPECT_EQ(completed.size(), loads + 1) << completed.join(u' ').toStdString();
    }

    QString BodyText()
    {
        std::unique_ptr<CHtmlDocument> document;
        QString body;
        if (GetBrowser().GetDHtmlDocument(document))
            document->GetBodyInnerHtml(body, 1 << 20);
        return body;
    }

    // The engine's widget that takes the page's mouse and keys.
    QWidget* PageWidget() { return GetBrowser().GetSafeHwnd()->focusProxy(); }
};

// Stands in for the program's main window: toolbar buttons send it their commands and it offers
// commands and their updates to the help window, as the main window's routing does.
class CRoutingMainWnd : public CWnd
{
public:
    explicit CRoutingMainWnd(CWndHelp* help) : m_help(help)
    {
        Create(QString(), QString(), WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
        AfxSetMainWnd(this);
    }
    ~CRoutingMainWnd() override { AfxSetMainWnd(nullptr); }

    bool OnCmdMsg(UINT id, UINT code) override { return m_help->IsWindow() && m_help->OnCmdMsg(id, code); }

private:
    CWndHelp* m_help;
};

// A help window on its start page, with the main window that routes to it.
struct ShownHelp
{
    HelpDataFolder data;
    CRecordingHelp help;
    CRoutingMainWnd main{&help};
    QUrl startPage;

    ShownHelp()
    {
        startPage = help.LoadAfter([this] { help.CreateHelpWindow(); });
        help.ShowWindow(SW_SHOW);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(help.GetSafeHwnd()));
        // Keys reach the window as typed only while it is the active one.
        help.BringWindowToTop();
        EXPECT_TRUE(QTest::qWaitForWindowActive(help.GetSafeHwnd()));
        EXPECT_TRUE(QTest::qWaitFor([this] { return help.PageWidget() != nullptr; }, HelpLoadTimeoutMs));
    }
};
