#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <vector>

// A window manager (openbox) on the test's X display, started for the test and stopped with it, and
// the few requests a test makes of it: the windows a process shows, closing one as its title-bar
// close box does, and keys typed into the window that has the focus. Needs openbox, wmctrl and
// xdotool on a real X display (xvfb-run).
class WindowManager
{
public:
    struct Window
    {
        QString id;
        QString title;
    };

    WindowManager() = default;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;
    ~WindowManager()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }

    // Starts openbox and waits until it manages the display.
    bool Start()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!m_process.waitForStarted())
            return false;
        return QTest::qWaitFor(
            [] {
                return Run({QStringLiteral("wmctrl"), QStringLiteral("-m")}).contains("Openbox");
            },
            10000);
    }

    // The managed windows of the process.
    static std::vector<Window> WindowsOf(qint64 pid)
    {
        std::vector<Window> windows;
        const QString list = Run({QStringLiteral("wmctrl"), QStringLiteral("-l"), QStringLiteral("-p")});
        for (const QString& line : list.split(u'\n', Qt::SkipEmptyParts))
        {
            // id, desktop, pid, host, then the title with its spaces.
            const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
            if (fields.size() >= 4 && fields[2].toLongLong() == pid)
                windows.push_back({fields[0], fields.mid(4).join(u' ')});
        }
        return windows;
    }

    // Asks the window manager to close the window: it sends the window WM_DELETE_WINDOW, as its
    // close box does.
    static bool Close(const QString& id)
    {
        return Succeeds({QStringLiteral("wmctrl"), QStringLiteral("-i"), QStringLiteral("-c"), id});
    }

    // Raises the window and gives it the focus.
    static bool Activate(const QString& id)
    {
        return Succeeds(
            {QStringLiteral("xdotool"), QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    }

    // Raises the window and gives it the focus, then types the key (xdotool's names: "Return").
    static bool TypeInto(const QString& id, const QString& key)
    {
        return Activate(id) && Succeeds({QStringLiteral("xdotool"), QStringLiteral("key"),
                                         QStringLiteral("--clearmodifiers"), key});
    }

private:
    static QString Run(const QStringList& command)
    {
        QProcess process;
        process.start(command.first(), command.mid(1));
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }
    static bool Succeeds(const QStringList& command)
    {
        QProcess process;
        process.start(command.first(), command.mid(1));
        return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QProcess m_process;
};
