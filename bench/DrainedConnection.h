#pragma once

#include "mail/MailSocket.h"

#include <thread>

// A loopback connection whose far end reads and drops everything.
class DrainedConnection
{
public:
    DrainedConnection()
    {
        sockaddr_in address = CBlockingSocket::GetHostByName(QStringLiteral("127.0.0.1"), 0);
        m_listener.Create();
        m_listener.Bind(address);
        m_listener.Listen();
        m_listener.GetSockAddr(&address);
        m_reader = std::thread(
            [this]
            {
                CBlockingSocket peer;
                if (!m_listener.Accept(peer, nullptr))
                    return;
                char buffer[65536];
                while (peer.Receive(buffer, sizeof(buffer), 60) > 0)
                {
                }
                peer.Close();
            });
        writer.Create();
        writer.Connect(address);
    }

    ~DrainedConnection()
    {
        writer.Close();
        m_reader.join();
        m_listener.Close();
    }

    CMailSocket writer;

private:
    CBlockingSocket m_listener;
    std::thread m_reader;
};
