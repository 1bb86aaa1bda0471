// Feeds arbitrary bytes to the SMTP client as everything a server says during one dialogue,
// with a user set so that the AUTH replies and an NTLM challenge are read too. Whatever the
// server says, the client sends no more than one dialogue's commands.

#include "../MailServerFeed.h"
#include "mail/MailError.h"
#include "mail/MailSocket.h"
#include "mail/VexaMail.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MailServerFeed feed;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CVexaMail mail(QStringLiteral("client.example"), QStringLiteral("127.0.0.1"), feed.Port(),
                   QStringLiteral("DOMAIN\\user"), QStringLiteral("password"));
    const qsizetype sent = feed.Serve(bytes,
                                      [&]
                                      {
                                          CMailSocket socket;
                                          try
                                          {
                                              socket.Create(SOCK_STREAM);
                                              socket.Connect(CBlockingSocket::GetHostByName(
                                                  mail.m_server, static_cast<unsigned short>(mail.m_port)));
                                              mail.StartDialogue(socket, QStringLiteral("me@example.com"),
                                                                 QStringLiteral("you@example.org"));
                                              mail.EndDialogue(socket);
                                          }
                                          catch (const CMailError&)
                                          {
                                          }
                                          catch (CBlockingSocketException* error)
                                          {
                                              delete error;
                                          }
                                          socket.Close();
                                      });
    if (sent > MailServerFeed::MostClientBytes(bytes.size()))
        std::abort();
    return 0;
}
