#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A loopback server for the mail client fuzz targets: each connection gets the fuzz input as
// everything the server says, then the server's end of the stream, while whatever the client
// sends is read and counted until it closes.
class MailServerFeed
{
public:
    MailServerFeed()
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }

    int Port() const { return m_port; }

    // The most a client may send in one dialogue: its commands, and an NTLM answer that carries
    // the server's target information back in base64.
    static qsizetype MostClientBytes(qsizetype serverBytes) { return 4096 + 2 * serverBytes; }

    // Serves the next connection with the bytes while the client runs; returns how many bytes
    // the client sent.
    template <typename Client> qsizetype Serve(const QByteArray& bytes, Client client)
    {
        qsizetype received = 0;
        std::thread server(
            [this, bytes, &received]
            {
                const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (connection < 0)
                    return;
                for (qsizetype sent = 0; sent < bytes.size();)
                {
                    const ssize_t result =
                        send(connection, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                    if (result <= 0)
                        break;
                    sent += result;
                }
                shutdown(connection, SHUT_WR);
                char drain[4096];
                for (ssize_t count; (count = recv(connection, drain, sizeof(drain), 0)) > 0;)
                    received += count;
                close(connection);
            });
        client();
        server.join();
        return received;
    }

private:
    int m_listener{-1};
    int m_port{0};
};
