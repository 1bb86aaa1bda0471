// Feeds arbitrary bytes to the POP3 client as everything a server says during one visit:
// greeting, NTLM and USER/PASS login, the UIDL listing and the LIST and RETR of two messages.

#include "../MailServerFeed.h"
#include "mail/VexaPop3.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MailServerFeed feed;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    feed.Serve(bytes,
               []
               {
                   CVexaPop3 client;
                   if (client.Login(QStringLiteral("127.0.0.1"), QStringLiteral("DOMAIN"),
                                    QStringLiteral("user"), QStringLiteral("password"), CVexaPop3::Automatic,
                                    feed.Port()) != CVexaPop3::Success)
                       return;
                   QMap<int, QString> ids;
                   client.ListUniqueIds(ids);
                   for (int number = 1; number <= 2; ++number)
                   {
                       QString text;
                       client.Retrieve(number, text);
                   }
               });
    return 0;
}
