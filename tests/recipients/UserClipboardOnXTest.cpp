#include "ndb/NdbUserList.h"
#include "recipients/UserClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
// Runs xclip while this process keeps answering the X server, which a copy's owner must.
QByteArray RunXclip(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"),
                QStringList{QStringLiteral("-selection"), QStringLiteral("clipboard")} + arguments);
    if (!xclip.waitForStarted(5000))
        return {};
    if (!input.isNull())
    {
        xclip.write(input);
        xclip.closeWriteChannel();
    }
    // xclip -i leaves a child behind that owns the selection; the parent ends at once.
    EXPECT_TRUE(QTest::qWaitFor([&xclip] { return xclip.state() == QProcess::NotRunning; }, 10000));
    return xclip.readAllStandardOutput();
}

bool OnX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}
} // namespace

TEST(UserClipboardOnX, XclipReadsOurFormatsAndWhatItPutsPastes)
{
    if (!OnX())
        GTEST_SKIP() << "runs on an X display (the OnX test)";
    ndb::CNdbUserList users;
    for (const char* address : {"a@x.com", "b@x.com"})
    {
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QString::fromLatin1(address)));
        user->SetField(ndb::UserCompany,
                       ndb::CNdbFieldValue(QStringLiteral("M\u00FCller & <S\u00F6hne>; AG")));
        users.AddUser(std::move(user));
    }
    ASSERT_TRUE(CopyUsersToClipboard(users));
    EXPECT_EQ(RunXclip({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("text/plain")}),
              BuildUsersText(users).toUtf8());
    EXPECT_EQ(RunXclip({QStringLiteral("-o"), QStringLiteral("-t"), QStringLiteral("text/html")}),
              BuildUsersHtmlTable(users).toUtf8());

    const auto semicolon = [](QChar& delimiter)
    {
        delimiter = u';';
        return true;
    };
    RunXclip({QStringLiteral("-i"), QStringLiteral("-t"), QStringLiteral("text/html")},
             "<table><tr><td>c@x.com</td><td>K&amp;K \xC3\xA4</td></tr></table>");
    TextRows table;
    ndb::CNdbUserList pasted;
    // Our own copy above holds HTML too: only once xclip owns the clipboard is the HTML its.
    ASSERT_TRUE(QTest::qWaitFor(
        []
        {
            const QClipboard* clipboard = QGuiApplication::clipboard();
            return !clipboard->ownsClipboard() && clipboard->mimeData()->hasHtml();
        },
        5000));
    ReadUsersFromClipboard(table, pasted, semicolon);
    EXPECT_EQ(table, TextRows({{"c@x.com", "K&K \u00E4"}}));

    RunXclip({QStringLiteral("-i")}, "d@x.com;\"Dee; D\"\ne@x.com;\xC3\x89ve\n");
    ASSERT_TRUE(QTest::qWaitFor([] { return !QGuiApplication::clipboard()->mimeData()->hasHtml(); }, 5000));
    ReadUsersFromClipboard(table, pasted, semicolon);
    EXPECT_EQ(table, TextRows({{"d@x.com", "Dee; D"}, {"e@x.com", "\u00C9ve"}}));
    EXPECT_EQ(pasted.GetCount(), 0);
    // Takes the selection back, so that no xclip stays behind.
    QGuiApplication::clipboard()->setText(QString());
}
