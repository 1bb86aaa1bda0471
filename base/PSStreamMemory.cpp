#include "base/PSStreamMemory.h"

#include <algorithm>
#include <cstring>

bool CPSStreamMemory::Open(int mode)
{
    m_read = mode == ModeRead;
    if (!m_read)
        m_bytes.clear();
    m_open = true;
    m_position = 0;
    return true;
}

bool CPSStreamMemory::SetBuffer(const QByteArray& bytes)
{
    m_bytes = bytes;
    return true;
}

bool CPSStreamMemory::WriteByte(quint8 byte)
{
    m_bytes.append(static_cast<char>(byte));
    return true;
}

qint64 CPSStreamMemory::Write(const void* bytes, qint64 count)
{
    if (count <= 0)
        return 0;
    m_bytes.append(static_cast<const char*>(bytes), count);
    return count;
}

bool CPSStreamMemory::ReadByte(quint8& byte)
{
    if (m_position >= m_bytes.size())
        return false;
    byte = static_cast<quint8>(m_bytes.at(m_position++));
    return true;
}

qint64 CPSStreamMemory::Read(void* destination, qint64 count)
{
    const qint64 left = m_bytes.size() - m_position;
    const qint64 taken = std::min(count, left);
    if (taken <= 0)
        return 0;
    std::memcpy(destination, m_bytes.constData() + m_position, static_cast<size_t>(taken));
    m_position += static_cast<int>(taken);
    return taken;
}

bool CPSStreamMemory::Seek(int position)
{
    m_position = static_cast<int>(std::clamp<qint64>(position, 0, m_bytes.size()));
    return true;
}
