#include "peers/PeerProcess.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
sockaddr_in Loopback(int port, const char* host = "127.0.0.1")
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, host, &address.sin_addr);
    return address;
}

bool WaitForExit(pid_t pid, int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < deadline)
    {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}
} // namespace

PeerProcess::~PeerProcess()
{
    Stop();
}

bool PeerProcess::Start(const QString& program, const QStringList& arguments, const QStringList& environment)
{
    int input[2];
    int output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return false;
    if (pipe2(output, O_CLOEXEC) != 0)
    {
        close(input[0]);
        close(input[1]);
        return false;
    }
    std::vector<QByteArray> storage;
    storage.push_back(program.toLocal8Bit());
    for (const QString& argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    const size_t argumentCount = storage.size();
    for (char** entry = environ; *entry; ++entry)
        storage.emplace_back(*entry);
    for (const QString& entry : environment)
        storage.push_back(entry.toLocal8Bit());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (size_t i = 0; i < storage.size(); ++i)
        (i < argumentCount ? argv : envp).push_back(storage[i].data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    const bool started = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    m_input = input[1];
    m_output = output[0];
    if (!started)
    {
        m_pid = -1;
        Stop();
    }
    return started;
}

void PeerProcess::Stop()
{
    if (m_input >= 0)
        close(m_input);
    m_input = -1;
    if (m_pid > 0)
    {
        kill(m_pid, SIGTERM);
        if (!WaitForExit(m_pid, 5000))
        {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    m_pid = -1;
    if (m_output >= 0)
        close(m_output);
    m_output = -1;
}

bool PeerProcess::WriteLine(const QByteArray& line)
{
    const QByteArray bytes = line + '\n';
    qsizetype written = 0;
    while (m_input >= 0 && written < bytes.size())
    {
        const ssize_t result =
            write(m_input, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;
        written += result;
    }
    return written == bytes.size();
}

QByteArray PeerProcess::ReadLine(int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!m_pending.contains('\n') && m_output >= 0)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{m_output, POLLIN, 0};
        if (left.count() <= 0 || poll(&entry, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char buffer[4096];
        const ssize_t received = read(m_output, buffer, sizeof(buffer));
        if (received <= 0)
            return {};
        m_pending.append(buffer, received);
    }
    const qsizetype end = m_pending.indexOf('\n');
    if (end < 0)
        return {};
    QByteArray line = m_pending.left(end);
    m_pending.remove(0, end + 1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

int PeerProcess::FreePort()
{
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof(address);
    int port = 0;
    if (handle >= 0 && bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (handle >= 0)
        close(handle);
    return port;
}

bool PeerProcess::WaitForPort(int port, int milliseconds, const QString& host)
{
    const QByteArray hostBytes = host.toLatin1();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < deadline)
    {
        const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = Loopback(port, hostBytes.constData());
        const bool connected =
            connect(handle, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        close(handle);
        if (connected)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

QString PeerProcess::ScriptFolder()
{
    return QStringLiteral(KV_PEER_SCRIPTS);
}
