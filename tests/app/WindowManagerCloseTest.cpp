#include "ShellTestSupport.h"
#include "support/WindowManager.h"

#include "ndb/NdbSendJournal.h"

#include <QDirIterator>
#include <QProcess>

using namespace ShellTest;

namespace
{
// The processes below the process, by their parent links in /proc.
QList<qint64> DescendantsOf(qint64 root)
{
    QMultiMap<qint64, qint64> children;
    QDirIterator entries(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext())
    {
        bool number = false;
        const qint64 pid = entries.next().section(u'/', -1).toLongLong(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces, so read after its closing bracket.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields[1].toLongLong(), pid);
    }
    QList<qint64> found;
    QList<qint64> open{root};
    while (!open.isEmpty())
    {
        const QList<qint64> next = children.values(open.takeFirst());
        found += next;
        open += next;
    }
    return found;
}

// A process that still runs: it exists and is no zombie.
bool IsRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

bool HasWindowTitled(qint64 pid, const QString& part)
{
    for (const WindowManager::Window& window : WindowManager::WindowsOf(pid))
    {
        if (window.title.contains(part))
            return true;
    }
    return false;
}
} // namespace

// The close box of the window manager ends the program as File > Exit does: the question about
// the unsaved newsletter comes, and after the answer the program, its web engine processes and
// the document's lock are gone at once.
TEST_F(ShellProgram, CloseBoxOfTheWindowManagerAsksToSaveAndEndsTheProgram)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs a window manager on an X display";
    WindowManager manager;
    ASSERT_TRUE(manager.Start());
    const QString path = Document(QStringLiteral("June.kvnl"));
    ASSERT_TRUE(WriteNewsletter(path, QStringLiteral("June")));
    // Statuses of a send that ended before the newsletter was saved: taking them in at the open
    // leaves the newsletter with unsaved changes.
    ASSERT_TRUE(ndb::CNdbSendJournal(path).Append(100, QStringLiteral("ann@example.org")));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Path("program"));
    environment.insert("XDG_CONFIG_HOME", Path("program/config"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(KV_PROGRAM), {path});
    ASSERT_TRUE(program.waitForStarted());
    const qint64 pid = program.processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path + "~") && HasWindowTitled(pid, "June"); },
                                60000));
    const QList<qint64> children = DescendantsOf(pid);
    EXPECT_TRUE(std::any_of(children.begin(), children.end(),
                            [](qint64 child)
                            {
                                QFile name(QStringLiteral("/proc/%1/comm").arg(child));
                                return name.open(QIODevice::ReadOnly) &&
                                       name.readAll().startsWith("QtWebEngine");
                            }))
        << "the page is shown by web engine processes";

    const std::vector<WindowManager::Window> before = WindowManager::WindowsOf(pid);
    ASSERT_EQ(before.size(), 1u);
    const QString main = before.front().id;
    const auto closeAndFindQuestion = [&]
    {
        QString question;
        if (!WindowManager::Close(main))
            return question;
        // No question within the time leaves it empty, which the caller checks.
        std::ignore = QTest::qWaitFor(
            [&]
            {
                for (const WindowManager::Window& window : WindowManager::WindowsOf(pid))
                {
                    if (window.id != main)
                        question = window.id;
                }
                return !question.isEmpty();
            },
            10000);
        return question;
    };

    // The focus starts on the first button, Cancel: Enter keeps the program and its window.
    QString question = closeAndFindQuestion();
    ASSERT_FALSE(question.isEmpty()) << "the close box asks about the unsaved newsletter";
    ASSERT_TRUE(WindowManager::TypeInto(question, QStringLiteral("Return")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return WindowManager::WindowsOf(pid).size() == 1; }, 10000));
    EXPECT_EQ(WindowManager::WindowsOf(pid).front().id, main) << "Cancel leaves the window shown";
    EXPECT_TRUE(program.state() == QProcess::Running);

    // Yes, the last button, is a step back from Cancel.
    question = closeAndFindQuestion();
    ASSERT_FALSE(question.isEmpty()) << "the close box asks again";
    ASSERT_TRUE(WindowManager::TypeInto(question, QStringLiteral("shift+Tab")));
    ASSERT_TRUE(WindowManager::TypeInto(question, QStringLiteral("Return"))) << "Yes saves it";

    EXPECT_TRUE(QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 5000))
        << "the program ends";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return std::none_of(children.begin(), children.end(), IsRunning); }, 5000))
        << "and its web engine processes with it";
    EXPECT_FALSE(QFileInfo::exists(path + "~")) << "no lock file is left";
    EXPECT_FALSE(QFileInfo::exists(ndb::CNdbSendJournal::PathFor(path))) << "the answer saved the newsletter";
    if (program.state() != QProcess::NotRunning)
        program.kill();
}
