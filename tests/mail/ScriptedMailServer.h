#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// One accepted connection of a scripted server, seen from the server's side.
class ScriptedConnection
{
public:
    ScriptedConnection(int handle, std::function<void(const QByteArray&)> record);
    ~ScriptedConnection();

    // False once the client has gone.
    bool Send(const QByteArray& bytes);
    // Sends the bytes one at a time, pausing between them.
    void Trickle(const QByteArray& bytes, int pauseMilliseconds);
    // The next line without its CR LF; nothing once the client has closed or gone quiet.
    std::optional<QByteArray> ReadLine(int milliseconds = 5000);
    // The message after DATA as it came over the wire, up to the CR LF before its end line.
    std::optional<QByteArray> ReadData(int milliseconds = 5000);
    // Waits until the client closes its side.
    void WaitForClose(int milliseconds = 5000);
    void Close();

private:
    bool Fill(int milliseconds);

    int m_handle;
    std::function<void(const QByteArray&)> m_record;
    QByteArray m_pending;
};

// A TCP server on a free port of 127.0.0.1 that runs a script against every connection, one
// connection after the other, and records every line it receives.
class ScriptedMailServer
{
public:
    using Script = std::function<void(ScriptedConnection&)>;

    // Reads and records lines until the client closes.
    static void ListenOnly(ScriptedConnection& connection);

    explicit ScriptedMailServer(Script script);
    ~ScriptedMailServer();

    ScriptedMailServer(const ScriptedMailServer&) = delete;
    ScriptedMailServer& operator=(const ScriptedMailServer&) = delete;

    // Serves what has connected so far to its end, then stops; Received is then complete.
    void Stop();

    int Port() const { return m_port; }
    QList<QByteArray> Received() const;
    int Connections() const { return m_connections; }

private:
    void Serve();

    Script m_script;
    int m_listener{-1};
    int m_port{0};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_wakePort{0};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_received;
    std::thread m_thread;
};
