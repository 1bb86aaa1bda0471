// Feeds arbitrary bytes to the readers of a name server's reply, as the MX and address queries
// of direct delivery use them.

#include "platform/net/DnsQuery.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int length = static_cast<int>(size);
    std::vector<DnsQuery::MxRecord> records;
    if (DnsQuery::ParseMxReply(data, length, records))
    {
        for (const DnsQuery::MxRecord& record : records)
        {
            if (record.preference < 0 || record.preference > 65535 || record.exchange.isEmpty())
                std::abort();
        }
    }
    else if (!records.empty())
        std::abort();
    QString address;
    if (DnsQuery::ParseIPv4Reply(data, length, address) && !address.isEmpty() && address.count(u'.') != 3)
        std::abort();
    return 0;
}
