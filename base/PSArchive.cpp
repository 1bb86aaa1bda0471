#include "base/PSArchive.h"

#include "base/PSArchiveException.h"
#include "base/PSFactoryBase.h"
#include "base/PSStream.h"

#include <algorithm>
#include <cstring>

CPSArchive::CPSArchive(CPSStream& stream) : m_stream(stream), m_buffer(new char[BufferCapacity]) {}

CPSArchive::~CPSArchive()
{
    if (!m_stream.IsReading() && m_stream.IsOpen() && m_position > 0)
        Flush();
}

bool CPSArchive::SpillBuffer()
{
    if (m_writeFailed)
        return false;
    if (m_position == 0)
        return true;
    const qint64 taken = std::clamp<qint64>(m_stream.Write(m_buffer.get(), m_position), 0, m_position);
    if (taken == m_position)
    {
        m_position = 0;
        return true;
    }
    // Keep what the stream did not take, so nothing is written twice should anyone retry.
    std::memmove(m_buffer.get(), m_buffer.get() + taken, static_cast<size_t>(m_position - taken));
    m_position -= static_cast<int>(taken);
    m_writeFailed = true;
    return false;
}

bool CPSArchive::Flush()
{
    return SpillBuffer();
}

bool CPSArchive::WriteByte(quint8 byte)
{
    if (m_writeFailed || (m_position == BufferCapacity && !SpillBuffer()))
        return false;
    m_buffer[m_position++] = static_cast<char>(byte);
    return true;
}

bool CPSArchive::WriteBytesAcrossSpill(const void* bytes, qint64 count)
{
    const char* from = static_cast<const char*>(bytes);
    while (count > 0)
    {
        if (m_writeFailed || (m_position == BufferCapacity && !SpillBuffer()))
            return false;
        const int chunk = static_cast<int>(std::min<qint64>(count, BufferCapacity - m_position));
        std::memcpy(m_buffer.get() + m_position, from, static_cast<size_t>(chunk));
        m_position += chunk;
        from += chunk;
        count -= chunk;
    }
    return true;
}

bool CPSArchive::Refill()
{
    if (m_readFailed)
        return false;
    const qint64 got = m_stream.Read(m_buffer.get(), BufferCapacity);
    if (got <= 0)
        return false;
    m_fill = static_cast<int>(std::min<qint64>(got, BufferCapacity));
    m_position = 0;
    return true;
}

bool CPSArchive::ReadInt32AcrossRefill(qint32& value)
{
    char bytes[4];
    if (!ReadBytes(bytes, 4))
        return false;
    value = qFromLittleEndian<qint32>(bytes);
    return true;
}

bool CPSArchive::ReadBytes(void* destination, qint64 count)
{
    char* to = static_cast<char*>(destination);
    while (count > 0)
    {
        if (m_readFailed || (m_position >= m_fill && !Refill()))
            return false;
        const int chunk = static_cast<int>(std::min<qint64>(count, m_fill - m_position));
        std::memcpy(to, m_buffer.get() + m_position, static_cast<size_t>(chunk));
        m_position += chunk;
        to += chunk;
        count -= chunk;
    }
    return true;
}

qint64 CPSArchive::BytesLeft()
{
    const qint64 inStream = m_stream.BytesLeft();
    if (inStream < 0)
        return -1;
    return inStream + (m_fill - m_position);
}

void CPSArchive::Fail(const char* reason)
{
    m_readFailed = true;
    throw CPSArchiveException(reason);
}

int CPSArchive::AddClass(int key, const std::string& name)
{
    m_classes.push_back({key, name, FindPersistentFactory(key, name)});
    return static_cast<int>(m_classes.size());
}

int CPSArchive::FindClass(int key, const std::string& name) const
{
    for (size_t i = 0; i < m_classes.size(); ++i)
    {
        if (m_classes[i].key == key && m_classes[i].name == name)
            return static_cast<int>(i + 1);
    }
    return 0;
}

int CPSArchive::GetClassKey(int index) const
{
    return index >= 1 && index <= GetClassCount() ? m_classes[index - 1].key : 0;
}

const std::string& CPSArchive::GetClassName(int index) const
{
    static const std::string none;
    return index >= 1 && index <= GetClassCount() ? m_classes[index - 1].name : none;
}

const CPSFactoryBase* CPSArchive::GetClassFactory(int index) const
{
    return index >= 1 && index <= GetClassCount() ? m_classes[index - 1].factory : nullptr;
}

int CPSArchive::RegisterObject(CPSBase* object)
{
    m_objects.push_back(object);
    const int index = static_cast<int>(m_objects.size());
    // Only the writer looks objects up by pointer; the reader goes by index.
    if (!IsReading())
        m_objectIndex.insert({object}, index);
    return index;
}

int CPSArchive::FindOrRegisterObject(CPSBase* object, bool& isNew)
{
    int& index = m_objectIndex[{object}];
    isNew = index == 0;
    if (isNew)
    {
        m_objects.push_back(object);
        index = static_cast<int>(m_objects.size());
    }
    return index;
}

void CPSArchive::ReserveObjects(qsizetype count)
{
    // Growing at least by half keeps many small reservations from costing a regrowth each.
    const qsizetype total = std::max<qsizetype>(GetObjectCount() + count, GetObjectCount() * 3 / 2);
    if (total > m_objectIndex.capacity())
    {
        m_objects.reserve(static_cast<size_t>(total));
        m_objectIndex.reserve(total);
    }
}

CPSBase* CPSArchive::GetObjectAt(int index) const
{
    return index >= 1 && index <= GetObjectCount() ? m_objects[index - 1] : nullptr;
}

void CPSArchive::ForgetObjectsFrom(int index)
{
    for (int i = std::max(index, 1); i <= GetObjectCount(); ++i)
    {
        m_objectIndex.remove({m_objects[i - 1]});
        m_objects[i - 1] = nullptr;
    }
}
