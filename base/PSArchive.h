#pragma once

#include "base/PSStream.h"

#include <QHash>
#include <QtEndian>
#include <QtGlobal>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CPSBase;
class CPSFactoryBase;

// A buffered little-endian binary archive over a byte stream, for one save or one load. It keeps
// the class and object tables that turn an object graph into a flat sequence and back. It never
// opens, closes or owns its stream, and never owns the objects it creates while reading: they
// belong to the graph the root's Serialize builds.
//
// The members here are the raw layer: they report failure by result. The value operations in
// base/ArchiveValues.h build on them and throw CPSArchiveException when reading fails.
class CPSArchive
{
public:
    static constexpr int BufferCapacity = 8192;
    static constexpr int DefaultVersion = 256;
    // Object pointers nest by recursion; deeper data is refused rather than allowed to exhaust
    // the stack. Real documents (folders within folders, layer groups) stay far below it.
    static constexpr int MaxObjectDepth = 500;

    explicit CPSArchive(CPSStream& stream);
    CPSArchive(const CPSArchive&) = delete;
    CPSArchive& operator=(const CPSArchive&) = delete;
    // Hands still-buffered bytes to a stream that is open for writing; the result is lost, so
    // savers call Flush themselves.
    virtual ~CPSArchive();

    CPSStream& GetStream() const { return m_stream; }
    bool IsReading() const { return m_stream.IsReading(); }

    // major * 256 + minor; 2007.2 is 513794.
    int GetVersion() const { return m_version; }
    void SetVersion(int version) { m_version = version; }
    // Wraps instead of overflowing for the numbers of a damaged header.
    static constexpr int MakeVersion(int major, int minor)
    {
        return static_cast<int>(static_cast<unsigned>(major) * 256u + static_cast<unsigned>(minor));
    }

    // Texts are UTF-8 when set, else in the ANSI code page (Windows-1252).
    bool IsUtf8() const { return m_utf8; }
    void SetUtf8(bool utf8) { m_utf8 = utf8; }

    // Writing. A stream that does not take the whole buffer makes the archive refuse every later
    // write and every Flush, so a failed save cannot end in a successful Flush.
    bool Flush();
    bool WriteByte(quint8 byte);
    // A large document is mostly small values: those that fit the buffer go in without a call.
    bool WriteInt32(qint32 value)
    {
        const qint32 little = qToLittleEndian(value);
        if (m_writeFailed || BufferCapacity - m_position < 4)
            return WriteBytesAcrossSpill(&little, 4);
        std::memcpy(m_buffer.get() + m_position, &little, 4);
        m_position += 4;
        return true;
    }
    bool WriteBytes(const void* bytes, qint64 count)
    {
        if (m_writeFailed || quint64(count) > quint64(BufferCapacity - m_position))
            return WriteBytesAcrossSpill(bytes, count);
        std::memcpy(m_buffer.get() + m_position, bytes, static_cast<size_t>(count));
        m_position += static_cast<int>(count);
        return true;
    }
    bool HasWriteFailed() const { return m_writeFailed; }

    // Reading: false when the data ends before the value is complete, or after a failure. A
    // large document is mostly small values, so those that lie whole in the buffer are taken
    // here without a call.
    bool ReadByte(quint8& byte)
    {
        if (m_readFailed || m_position >= m_fill)
            return ReadBytes(&byte, 1);
        byte = static_cast<quint8>(m_buffer[m_position++]);
        return true;
    }
    bool ReadInt32(qint32& value)
    {
        if (m_readFailed || m_fill - m_position < 4)
            return ReadInt32AcrossRefill(value);
        value = qFromLittleEndian<qint32>(m_buffer.get() + m_position);
        m_position += 4;
        return true;
    }
    bool ReadBytes(void* destination, qint64 count);
    // The next count bytes where they lie in the buffer, taken as read; null, with nothing
    // taken, when they do not lie there whole.
    const char* TakeBuffered(int count)
    {
        if (m_readFailed || count < 0 || m_fill - m_position < count)
            return nullptr;
        const char* bytes = m_buffer.get() + m_position;
        m_position += count;
        return bytes;
    }
    // Bytes a reader can still get (buffered and in the stream), -1 when the stream cannot tell.
    qint64 BytesLeft();

    // Marks the archive failed and throws CPSArchiveException with the reason; every later read
    // fails too, so nothing read after the failure can pass for data.
    [[noreturn]] void Fail(const char* reason);
    bool HasReadFailed() const { return m_readFailed; }

    // Class table, 1-based. Each entry also keeps the registered class it names, found once when
    // the entry is added, so that a reader does not search the registry for every object.
    int AddClass(int key, const std::string& name);
    int FindClass(int key, const std::string& name) const;
    int GetClassKey(int index) const;
    const std::string& GetClassName(int index) const;
    // Null outside 1..count or when no registered class has that key and name.
    const CPSFactoryBase* GetClassFactory(int index) const;
    int GetClassCount() const { return static_cast<int>(m_classes.size()); }

    // Object table, 1-based.
    int RegisterObject(CPSBase* object);
    // The writer's look-up: the object's index, registering it first (isNew true) when it has none.
    int FindOrRegisterObject(CPSBase* object, bool& isNew);
    // Room in the writer's table for that many more objects, before a large container is written.
    void ReserveObjects(qsizetype count);
    CPSBase* GetObjectAt(int index) const;
    int GetObjectCount() const { return static_cast<int>(m_objects.size()); }
    // Takes the objects from index on out of the table (they were deleted while reading): a
    // later back reference to one of them fails instead of handing out a dangling pointer.
    void ForgetObjectsFrom(int index);

    // Depth of object pointers being read; see MaxObjectDepth.
    int& ReadDepth() { return m_readDepth; }

private:
    bool SpillBuffer();
    bool WriteBytesAcrossSpill(const void* bytes, qint64 count);
    bool Refill();
    bool ReadInt32AcrossRefill(qint32& value);

    CPSStream& m_stream;
    std::unique_ptr<char[]> m_buffer;
    int m_position{0};
    int m_fill{0};
    int m_version{DefaultVersion};
    bool m_utf8{true};
    bool m_writeFailed{false};
    bool m_readFailed{false};
    int m_readDepth{0};
    struct ClassEntry
    {
        int key;
        std::string name;
        const CPSFactoryBase* factory;
    };

    std::vector<ClassEntry> m_classes;
    std::vector<CPSBase*> m_objects;
    // A save of a large document looks up every object it writes. Objects made one after another
    // lie near each other in memory, so a key that keeps their order keeps the look-ups of a
    // container's objects in neighbouring buckets instead of all over the table.
    struct ObjectKey
    {
        const CPSBase* object;
        bool operator==(const ObjectKey&) const = default;
        friend size_t qHash(ObjectKey key, size_t) { return reinterpret_cast<quintptr>(key.object) >> 4; }
    };
    QHash<ObjectKey, int> m_objectIndex;
};
