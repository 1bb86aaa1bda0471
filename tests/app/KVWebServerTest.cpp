#include "app/KVWebServer.h"
#include "app/KVContext.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace
{
int CurlExitCode(const QString& url)
{
    QProcess curl;
    curl.start("curl", {"--silent", "--output", "/dev/null", "--max-time", "30", url});
    curl.waitForFinished(60000);
    return curl.exitStatus() == QProcess::NormalExit ? curl.exitCode() : -1;
}
} // namespace

TEST(KVWebServer, StartRecordsThePortInTheContextAndStopEndsServing)
{
    CKVContext context;
    context.PutPageInWebStore("about.htm", "<p>About</p>");
    CKVWebServer server(&context);
    const int port = server.Start();
    ASSERT_NE(port, 0);
    EXPECT_EQ(context.GetServerPort(), port);
    EXPECT_EQ(server.Start(), port);

    const QString url = context.MakeServerUrl("webstore/about.htm");
    EXPECT_EQ(CurlExitCode(url), 0);
    EXPECT_TRUE(server.Stop());
    // 7: the connection was refused.
    EXPECT_EQ(CurlExitCode(url), 7);
}
