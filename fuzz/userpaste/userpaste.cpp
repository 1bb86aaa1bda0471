// Pastes arbitrary bytes as recipients: the first byte picks the clipboard format (the private
// one, HTML or text), the rest is its data. At most one of the two results may be filled.
#include "ndb/NdbUserList.h"
#include "recipients/UserClipboard.h"

#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const formats[] = {UserClipboard::UserListMimeType, UserClipboard::HtmlMimeType,
                                          UserClipboard::TextMimeType};
    QMimeData mime;
    mime.setData(QString::fromLatin1(formats[data[0] % 3]),
                 QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)));
    TextRows table;
    ndb::CNdbUserList users;
    ReadUsersFromMimeData(mime, table, users,
                          [](QChar& delimiter)
                          {
                              delimiter = u';';
                              return true;
                          });
    if (!table.isEmpty() && users.GetCount() != 0)
        std::abort();
    return 0;
}
