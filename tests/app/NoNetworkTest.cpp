#include "CreateDialogSupport.h"
#include "support/NoProxy.h"

#include "app/ShellHooks.h"
#include "servicesui/DlgUpdate.h"

#include <QTcpServer>
#include <QTcpSocket>

using namespace ShellTest;

namespace
{
// Points every proxy setting a client library or the web engine reads at a listener of the test,
// so that any call meant for another machine reaches it; the machine's own addresses stay
// direct. The settings are taken away again at the end.
class RecordingProxy
{
public:
    RecordingProxy()
    {
        EXPECT_TRUE(m_listener.listen(QHostAddress::LocalHost));
        // Each call is noted and refused at once, as a proxy that cannot reach the host does.
        QObject::connect(&m_listener, &QTcpServer::newConnection,
                         [this]
                         {
                             while (QTcpSocket* socket = m_listener.nextPendingConnection())
                             {
                                 ++m_connections;
                                 socket->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n"
                                               "Connection: close\r\n\r\n");
                                 socket->disconnectFromHost();
                                 QObject::connect(socket, &QTcpSocket::disconnected, socket,
                                                  &QObject::deleteLater);
                             }
                         });
        const QByteArray address = "http://127.0.0.1:" + QByteArray::number(m_listener.serverPort());
        for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "HTTP_PROXY",
                                 "HTTPS_PROXY", "FTP_PROXY", "ALL_PROXY"})
            qputenv(name, address);
        qputenv("no_proxy", "127.0.0.1,localhost");
        qputenv("NO_PROXY", "127.0.0.1,localhost");
    }
    ~RecordingProxy() { ClearProxyEnvironment(); }

    // Connections that reached the listener so far.
    int Connections() const { return m_connections; }

private:
    QTcpServer m_listener;
    int m_connections = 0;
};
} // namespace

// With no store address set, a fresh program starts, shows the gallery with its offline notice and
// checks for updates without one call leaving the machine.
TEST_F(ShellProgram, WithoutAStoreAddressNothingLeavesTheMachine)
{
    RecordingProxy outside;
    ShellHooks::Get().runUpdate = &CDlgUpdate::Run;
    CMainWnd& window = StartProgram();

    const ModalWatchdog watchdog(60000);
    bool galleryShown = false;
    const auto driver = WhenModal<CDlgNewsletterCreate>(
        [&](CDlgNewsletterCreate& dialog)
        {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return RunScript(dialog.GetGalleryBrowser(), "document.images.length > 0").toBool(); },
                15000))
                << "the installed templates are shown";
            galleryShown = true;
            ClickButton(dialog, IDCANCEL);
        });
    ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Create Newsletter..."}));
    EXPECT_TRUE(galleryShown);

    {
        ModalAnswers answers;
        answers.Box(QStringLiteral("OK"));
        ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "Check for &Updates"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
        ASSERT_EQ(answers.boxTexts.size(), 1);
        EXPECT_TRUE(answers.boxTexts[0].startsWith("No update source is set."))
            << answers.boxTexts[0].toStdString();
    }
    EXPECT_EQ(outside.Connections(), 0) << "nothing was asked of another machine";

    // The listener does catch a call for another machine: with a store address, the check goes out.
    WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("StoreAddress"),
                          QStringLiteral("http://store.example.invalid"));
    ModalAnswers answers;
    answers.Box(QStringLiteral("OK"));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Tools", "Check for &Updates"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return outside.Connections() > 0 && answers.Done(); }, 30000));
}
