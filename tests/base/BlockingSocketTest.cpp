#include "base/BlockingSocket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace
{
// The operation name of the exception that the call throws, empty when it throws none.
QString ThrownOperation(const std::function<void()>& call, int* errorCode = nullptr)
{
    try
    {
        call();
    }
    catch (CBlockingSocketException* exception)
    {
        const QString operation = exception->GetOperation();
        if (errorCode)
            *errorCode = exception->GetErrorCode();
        delete exception;
        return operation;
    }
    return {};
}

sockaddr_in Loopback(unsigned short port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A connected pair of sockets on loopback.
struct Connection
{
    CBlockingSocket listener;
    CBlockingSocket client;
    CBlockingSocket server;
    sockaddr_in peer{};

    Connection()
    {
        listener.Create();
        listener.Bind(Loopback(0));
        sockaddr_in bound{};
        EXPECT_TRUE(listener.GetSockAddr(&bound));
        listener.Listen();
        client.Create();
        client.Connect(CBlockingSocket::GetHostByName("127.0.0.1", ntohs(bound.sin_port)));
        EXPECT_TRUE(listener.Accept(server, &peer));
    }
    ~Connection()
    {
        for (CBlockingSocket* socket : {&server, &client, &listener})
            EXPECT_EQ(ThrownOperation([&] { socket->Close(); }), QString());
    }
};

auto Elapsed(std::chrono::steady_clock::time_point start)
{
    return std::chrono::steady_clock::now() - start;
}
} // namespace

TEST(BlockingSocket, ExchangesBytesOnLoopback)
{
    Connection connection;
    EXPECT_EQ(connection.peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_FALSE(connection.client.IsClosed());

    EXPECT_EQ(connection.client.Write("HELO there\r\n", 12, 5), 12);
    char buffer[32] = {};
    EXPECT_EQ(connection.server.ReceiveAll(buffer, 12, 5), 12);
    EXPECT_EQ(QByteArray(buffer, 12), "HELO there\r\n");

    EXPECT_EQ(connection.server.Send("250 ok", 6, 5), 6);
    EXPECT_EQ(connection.client.ReceiveByte(), '2');
    EXPECT_EQ(connection.client.Receive(buffer, sizeof(buffer), 5), 5);
    EXPECT_EQ(QByteArray(buffer, 5), "50 ok");
}

TEST(BlockingSocket, ReceiveTimesOutWhenThePeerStaysSilent)
{
    Connection connection;
    char buffer[8];
    const auto start = std::chrono::steady_clock::now();
    int error = 0;
    EXPECT_EQ(ThrownOperation([&] { connection.client.Receive(buffer, sizeof(buffer), 1); }, &error),
              "Receive timeout");
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(900));
    EXPECT_EQ(error, ETIMEDOUT);
}

TEST(BlockingSocket, PeerThatClosesEndsReceivingWithoutWaitingOutTheTimeOut)
{
    Connection connection;
    connection.server.Write("ab", 2, 5);
    connection.server.Close();
    EXPECT_TRUE(connection.server.IsClosed());

    char buffer[16];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection.client.ReceiveAll(buffer, sizeof(buffer), 30), 2);
    EXPECT_EQ(connection.client.Receive(buffer, sizeof(buffer), 30), 0);
    EXPECT_EQ(ThrownOperation([&] { connection.client.ReceiveByte(); }), "ReceiveByte: length mismatch");
    EXPECT_LT(Elapsed(start), std::chrono::seconds(5));
}

TEST(BlockingSocket, WriteOfALargeBlockCompletesThroughPartialSends)
{
    Connection connection;
    QByteArray block(16 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 7 + i / 4096);

    auto reader = std::async(std::launch::async,
                             [&]
                             {
                                 QByteArray received(block.size(), '\0');
                                 const int count = connection.server.ReceiveAll(
                                     received.data(), static_cast<int>(received.size()), 20);
                                 return received.left(count);
                             });
    EXPECT_EQ(connection.client.Write(block.constData(), static_cast<int>(block.size()), 20), block.size());
    EXPECT_EQ(reader.get(), block);
}

TEST(BlockingSocket, SendTimesOutWhenThePeerDoesNotRead)
{
    Connection connection;
    const QByteArray block(64 * 1024 * 1024, 'x');
    EXPECT_EQ(ThrownOperation([&] { connection.client.Write(block.constData(), int(block.size()), 1); }),
              "Send timeout");
}

TEST(BlockingSocket, FailuresCarryTheNameOfTheOperation)
{
    CBlockingSocket never;
    EXPECT_TRUE(never.IsClosed());
    EXPECT_EQ(ThrownOperation([&] { never.Send("x", 1, 1); }), "No socket handle");
    EXPECT_EQ(ThrownOperation([&] { never.Close(); }), QString());

    CBlockingSocket taken;
    taken.Create();
    taken.Bind(Loopback(0));
    sockaddr_in bound{};
    ASSERT_TRUE(taken.GetSockAddr(&bound));
    CBlockingSocket second;
    second.Create();
    EXPECT_EQ(ThrownOperation([&] { second.Bind(bound); }), "Bind");
    EXPECT_FALSE(second.IsClosed()); // the owner still closes it after a failure

    // Nothing listens on the bound but not listening port.
    CBlockingSocket client;
    client.Create();
    int error = 0;
    EXPECT_EQ(ThrownOperation([&] { client.Connect(bound); }, &error), "Connect");
    EXPECT_EQ(error, ECONNREFUSED);

    EXPECT_EQ(ThrownOperation([] { CBlockingSocket::GetHostByName("nowhere.invalid", 25); }),
              "GetHostByName");
    EXPECT_EQ(ThrownOperation([] { CBlockingSocket::GetHostByName("", 25); }), "GetHostByName");
    const sockaddr_in address = CBlockingSocket::GetHostByName("127.0.0.1", 2525);
    EXPECT_EQ(address.sin_port, htons(2525));
    EXPECT_EQ(address.sin_addr.s_addr, htonl(INADDR_LOOPBACK));

    for (CBlockingSocket* socket : {&taken, &second, &client})
    {
        socket->Close();
        socket->Close();
        EXPECT_TRUE(socket->IsClosed());
    }
}

TEST(BlockingSocket, CloseWakesAThreadWaitingInAccept)
{
    CBlockingSocket listener;
    listener.Create();
    listener.Bind(Loopback(0));
    listener.Listen();
    auto accepted = std::async(std::launch::async,
                               [&]
                               {
                                   CBlockingSocket connection;
                                   sockaddr_in peer{};
                                   return listener.Accept(connection, &peer);
                               });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    listener.Close();
    ASSERT_EQ(accepted.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(accepted.get());
}
