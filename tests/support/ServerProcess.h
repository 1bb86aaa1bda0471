#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

// A server program that a test starts on 127.0.0.1 and stops again when the object goes. Its
// standard error goes to a file; its standard output is read only for the "PORT <n>" line with
// which the peers written for the tests say where they listen.
class ServerProcess
{
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess() { Stop(); }

    // Starts the program; with readPort, waits for its "PORT <n>" line.
    bool Start(const QStringList& arguments, const QString& errorLog, bool readPort)
    {
        int output[2];
        if (pipe2(output, O_CLOEXEC) != 0)
            return false;
        std::vector<QByteArray> bytes;
        for (const QString& argument : arguments)
            bytes.push_back(argument.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& argument : bytes)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const QByteArray log = errorLog.toLocal8Bit();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // Its own process group, so that stopping it also stops what it starts.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        if (posix_spawn(&m_pid, argv[0], &actions, &attributes, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        if (readPort && m_pid > 0)
        {
            QByteArray line;
            char c = 0;
            while (!line.endsWith('\n') && read(output[0], &c, 1) == 1)
                line += c;
            if (line.startsWith("PORT "))
                m_port = line.mid(5).trimmed().toInt();
        }
        close(output[0]);
        return m_pid > 0 && (!readPort || m_port > 0);
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        kill(-m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    int Port() const { return m_port; }
    void SetPort(int port) { m_port = port; }

    // A port that was free a moment ago, for programs that cannot pick their own.
    static int FreePort()
    {
        const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        int port = 0;
        if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        close(probe);
        return port;
    }

    // Waits until something accepts connections at the port.
    static bool WaitUntilListening(int port, std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end)
        {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            address.sin_port = htons(static_cast<uint16_t>(port));
            const bool connected =
                connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
            close(client);
            if (connected)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    pid_t m_pid{-1};
    int m_port{0};
};
