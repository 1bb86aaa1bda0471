// Feeds arbitrary bytes to the POP3 client as everything a server says during one visit:
// greeting, NTLM and USER/PASS login, the UIDL listing and the LIST and RETR of two messages.
// What the client reads cannot outgrow what the server said, even with every line end made
// CR LF, and what it sends stays within a few commands and its NTLM answer.

#include "../MailServerFeed.h"
#include "mail/VexaPop3.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MailServerFeed feed;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    qsizetype read = 0;
    const qsizetype sent =
        feed.Serve(bytes,
                   [&read]
                   {
                       CVexaPop3 client;
                       if (client.Login(QStringLiteral("127.0.0.1"), QStringLiteral("DOMAIN"),
                                        QStringLiteral("user"), QStringLiteral("password"),
                                        CVexaPop3::Automatic, feed.Port()) != CVexaPop3::Success)
                           return;
                       QMap<int, QString> ids;
                       client.ListUniqueIds(ids);
                       for (const QString& id : std::as_const(ids))
                           read += id.size();
                       for (int number = 1; number <= 2; ++number)
                       {
                           QString text;
                           client.Retrieve(number, text);
                           read += text.size();
                       }
                   });
    if (read > 2 * bytes.size() || sent > MailServerFeed::MostClientBytes(bytes.size()))
        std::abort();
    return 0;
}
