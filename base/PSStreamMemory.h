#pragma once

#include "base/PSStream.h"

#include <QByteArray>
#include <algorithm>

// A stream over a growable byte vector, for archives kept on the clipboard or in settings.
// The open flag only answers IsOpen; reading and writing work either way.
class CPSStreamMemory : public CPSStream
{
public:
    enum Mode
    {
        ModeWrite = 0,
        ModeRead = 1,
    };

    bool IsOpen() const override { return m_open; }
    bool WriteByte(quint8 byte) override;
    qint64 Write(const void* bytes, qint64 count) override;
    bool Flush() override { return true; }
    bool ReadByte(quint8& byte) override;
    qint64 Read(void* destination, qint64 count) override;
    int Tell() override { return m_position; }
    bool Seek(int position) override;
    qint64 BytesLeft() override { return std::max<qint64>(0, m_bytes.size() - m_position); }

    // Reading keeps the bytes; writing starts empty. Either way the read position returns to 0.
    bool Open(int mode);
    void Close() { m_open = false; }
    QByteArray& GetBuffer() { return m_bytes; }
    // The read position stays where it is.
    bool SetBuffer(const QByteArray& bytes);

private:
    bool m_open{false};
    QByteArray m_bytes;
    int m_position{0};
};
