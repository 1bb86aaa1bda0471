#include "base/PSStreamDescriptor.h"

#include "base/FileHelpers.h"

#include <cstring>

CPSStreamDescriptor::CPSStreamDescriptor(int fd) : m_fd(fd)
{
    m_read = false;
}

qint64 CPSStreamDescriptor::Write(const void* bytes, qint64 count)
{
    if (!IsOpen() || count <= 0)
        return 0;
    if (m_fill + count > BufferCapacity && !Flush())
        return 0;
    // What would fill the buffer on its own goes out without a copy.
    if (count >= BufferCapacity)
        return Spill(static_cast<const char*>(bytes), count) ? count : 0;
    std::memcpy(m_buffer.get() + m_fill, bytes, static_cast<size_t>(count));
    m_fill += count;
    return count;
}

bool CPSStreamDescriptor::Flush()
{
    if (!IsOpen())
        return false;
    const bool spilled = Spill(m_buffer.get(), m_fill);
    m_fill = 0;
    return spilled;
}

bool CPSStreamDescriptor::Spill(const char* bytes, qint64 count)
{
    m_failed = !WriteAll(m_fd, bytes, count);
    if (!m_failed)
        m_written += count;
    return !m_failed;
}
