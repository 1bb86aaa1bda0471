#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

// A real server or tool that a test talks to, run as a child process: started with its own
// arguments and environment, its standard input and output on pipes, stopped with the object.
class PeerProcess
{
public:
    PeerProcess() = default;
    ~PeerProcess();

    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // environment holds "NAME=value" entries added to the test's own.
    bool Start(const QString& program, const QStringList& arguments, const QStringList& environment = {});
    void Stop();
    bool IsRunning() const { return m_pid > 0; }

    bool WriteLine(const QByteArray& line);
    // The next line of the peer's standard output without its line end; empty after the time-out
    // or when the peer closed its output.
    QByteArray ReadLine(int milliseconds);

    // A TCP port on 127.0.0.1 that nothing listens on right now, for peers that must be told
    // their port in their configuration.
    static int FreePort();
    // Waits until something accepts connections on the port of the loopback address.
    static bool WaitForPort(int port, int milliseconds, const QString& host = QStringLiteral("127.0.0.1"));

    // The Debian system interpreter, which has the packaged modules the peers import.
    static QString SystemPython() { return QStringLiteral("/usr/bin/python3"); }
    // The folder that holds the peers' scripts.
    static QString ScriptFolder();

private:
    pid_t m_pid{-1};
    int m_input{-1};
    int m_output{-1};
    QByteArray m_pending;
};
