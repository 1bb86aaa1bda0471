#include "mail/MailPart.h"

void CMailPart::SetHeader(int id, const QString& value)
{
    for (CMailHeader& header : m_headers)
    {
        if (header.GetId() == id)
        {
            header.SetValue(value);
            return;
        }
    }
    m_headers.emplace_back(id, value);
}

const CMailHeader* CMailPart::FindHeader(int id) const
{
    for (const CMailHeader& header : m_headers)
    {
        if (header.GetId() == id)
            return &header;
    }
    return nullptr;
}
