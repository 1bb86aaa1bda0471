#include "ScriptedMailServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

ScriptedConnection::ScriptedConnection(int handle, std::function<void(const QByteArray&)> record)
    : m_handle(handle), m_record(std::move(record))
{
}

ScriptedConnection::~ScriptedConnection()
{
    Close();
}

bool ScriptedConnection::Send(const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (m_handle >= 0 && sent < bytes.size())
    {
        const ssize_t result =
            send(m_handle, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (result <= 0)
            return false;
        sent += result;
    }
    return m_handle >= 0;
}

void ScriptedConnection::Trickle(const QByteArray& bytes, int pauseMilliseconds)
{
    // Stops once the client has gone.
    for (qsizetype i = 0; i < bytes.size() && Send(bytes.mid(i, 1)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMilliseconds));
}

bool ScriptedConnection::Fill(int milliseconds)
{
    pollfd entry{m_handle, POLLIN, 0};
    if (m_handle < 0 || poll(&entry, 1, milliseconds) <= 0)
        return false;
    char buffer[4096];
    const ssize_t received = recv(m_handle, buffer, sizeof(buffer), 0);
    if (received <= 0)
        return false;
    m_pending.append(buffer, received);
    return true;
}

std::optional<QByteArray> ScriptedConnection::ReadLine(int milliseconds)
{
    while (!m_pending.contains("\r\n"))
    {
        if (!Fill(milliseconds))
            return std::nullopt;
    }
    const qsizetype end = m_pending.indexOf("\r\n");
    const QByteArray line = m_pending.left(end);
    m_pending.remove(0, end + 2);
    m_record(line);
    return line;
}

std::optional<QByteArray> ScriptedConnection::ReadData(int milliseconds)
{
    for (;;)
    {
        const qsizetype end = m_pending.startsWith(".\r\n") ? -2 : m_pending.indexOf("\r\n.\r\n");
        if (end != -1)
        {
            const QByteArray data = m_pending.left(end + 2);
            m_pending.remove(0, end + 5);
            m_record(".");
            return data;
        }
        if (!Fill(milliseconds))
            return std::nullopt;
    }
}

void ScriptedConnection::WaitForClose(int milliseconds)
{
    while (Fill(milliseconds))
    {
    }
}

void ScriptedConnection::Close()
{
    if (m_handle >= 0)
        close(m_handle);
    m_handle = -1;
}

ScriptedMailServer::ScriptedMailServer(Script script) : m_script(std::move(script))
{
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_listener, 8) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

ScriptedMailServer::~ScriptedMailServer()
{
    Stop();
    if (m_listener >= 0)
        close(m_listener);
}

void ScriptedMailServer::Stop()
{
    if (m_thread.joinable())
    {
        // A connection of our own ends the serving, after every connection that came before;
        // its port is known before it connects, so the serving thread cannot miss it.
        const int wake = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (bind(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            getsockname(wake, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_wakePort = ntohs(address.sin_port);
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        if (m_wakePort == 0 || connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
            shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        close(wake);
    }
}

void ScriptedMailServer::Serve()
{
    for (;;)
    {
        sockaddr_in peer{};
        socklen_t length = sizeof(peer);
        const int handle = accept4(m_listener, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (handle < 0)
            return;
        if (m_wakePort != 0 && ntohs(peer.sin_port) == m_wakePort)
        {
            close(handle);
            return;
        }
        ++m_connections;
        ScriptedConnection connection(handle,
                                      [this](const QByteArray& line)
                                      {
                                          std::lock_guard lock(m_mutex);
                                          m_received.append(line);
                                      });
        m_script(connection);
    }
}

void ScriptedMailServer::ListenOnly(ScriptedConnection& connection)
{
    while (connection.ReadLine())
    {
    }
}

QList<QByteArray> ScriptedMailServer::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}
