#pragma once

#include <QtGlobal>

// An abstract byte stream with a fixed direction. Every persistable class decides whether it
// writes or reads by the read flag of the stream under its archive.
class CPSStream
{
public:
    virtual ~CPSStream() = default;

    virtual bool IsOpen() const = 0;
    virtual bool WriteByte(quint8 byte) = 0;
    // Returns the number of bytes taken.
    virtual qint64 Write(const void* bytes, qint64 count) = 0;
    virtual bool Flush() = 0;
    virtual bool ReadByte(quint8& byte) = 0;
    // Returns the number of bytes delivered.
    virtual qint64 Read(void* destination, qint64 count) = 0;
    virtual int Tell() = 0;
    virtual bool Seek(int position) = 0;

    // The number of bytes a reader can still get, or -1 when the stream cannot tell. Readers of
    // outside data use it to refuse a count before allocating for it.
    virtual qint64 BytesLeft() { return -1; }

    bool IsReading() const { return m_read; }

protected:
    bool m_read{true};
};
