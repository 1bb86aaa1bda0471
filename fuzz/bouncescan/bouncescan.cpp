// Feeds arbitrary returned mail to the bounce scan: the first line is the newsletter id sought,
// the rest the message as the mailbox gave it.

#include "mail/BounceChecker.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype lineEnd = text.indexOf(u'\n');
    QString key;
    int code = 0;
    CBounceChecker::ScanMessage(text.mid(lineEnd + 1), lineEnd < 0 ? QString() : text.left(lineEnd), key,
                                code);
    if (!key.isEmpty() && !text.contains(key))
        __builtin_trap();
    return 0;
}
