#include "webserver/MemoryChannel.h"

#include "webserver/HttpServiceError.h"

#include <algorithm>
#include <cstring>

CMemoryChannel::CMemoryChannel(QByteArray input, QByteArray* output)
    : m_input(std::move(input)), m_output(output)
{
}

char CMemoryChannel::ReceiveByte(Deadline)
{
    if (m_position >= m_input.size())
        throw CHttpServiceError();
    return m_input.at(m_position++);
}

qsizetype CMemoryChannel::ReceiveAll(char* buffer, qsizetype length, int)
{
    const qsizetype count = std::min(length, m_input.size() - m_position);
    std::memcpy(buffer, m_input.constData() + m_position, count);
    m_position += count;
    return count;
}

void CMemoryChannel::Write(const char* bytes, qsizetype length, int)
{
    if (m_output)
        m_output->append(bytes, length);
}
