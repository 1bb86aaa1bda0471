#include "base/PSStreamFile.h"

#include <QFile>

#include <sys/stat.h>

CPSStreamFile::~CPSStreamFile()
{
    Close();
}

bool CPSStreamFile::Open(const QString& path, bool read, bool append)
{
    if (m_file)
        return false;
    const char* mode = read ? "rb" : (append ? "ab" : "wb");
    m_file = std::fopen(QFile::encodeName(path).constData(), mode);
    if (!m_file)
        return false;
    // Writers hand over whole blocks (the archive buffers in front). Without a second buffer
    // here, a write that the disk refuses fails in the Write that hands the bytes over, where
    // the archive's Flush sees it, not later in a close whose result nobody reads.
    if (read)
    {
        m_readAhead = std::make_unique<char[]>(ReadAheadSize);
        std::setvbuf(m_file, m_readAhead.get(), _IOFBF, ReadAheadSize);
    }
    else
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_read = read;
    m_position = 0;
    m_size = -1;
    struct stat info
    {
    };
    if (read && fstat(fileno(m_file), &info) == 0 && S_ISREG(info.st_mode))
        m_size = static_cast<qint64>(info.st_size);
    return true;
}

void CPSStreamFile::Close()
{
    if (!m_file)
        return;
    Flush();
    std::fclose(m_file);
    m_file = nullptr;
    m_readAhead.reset();
}

bool CPSStreamFile::IsEof() const
{
    return m_file && std::feof(m_file);
}

bool CPSStreamFile::WriteByte(quint8 byte)
{
    return CanWrite() && std::fputc(byte, m_file) != EOF;
}

qint64 CPSStreamFile::Write(const void* bytes, qint64 count)
{
    if (!CanWrite() || count <= 0)
        return 0;
    return static_cast<qint64>(std::fwrite(bytes, 1, static_cast<size_t>(count), m_file));
}

bool CPSStreamFile::Flush()
{
    return CanWrite() && std::fflush(m_file) == 0;
}

bool CPSStreamFile::ReadByte(quint8& byte)
{
    if (!CanRead())
        return false;
    const int c = std::fgetc(m_file);
    if (c == EOF)
        return false;
    byte = static_cast<quint8>(c);
    ++m_position;
    return true;
}

qint64 CPSStreamFile::Read(void* destination, qint64 count)
{
    if (!CanRead() || count <= 0)
        return 0;
    const qint64 read = static_cast<qint64>(std::fread(destination, 1, static_cast<size_t>(count), m_file));
    m_position += read;
    return read;
}

int CPSStreamFile::Tell()
{
    if (!m_file)
        return 0;
    const off_t position = ftello(m_file);
    return position < 0 ? 0 : static_cast<int>(static_cast<quint32>(position));
}

bool CPSStreamFile::Seek(int position)
{
    if (!m_file || fseeko(m_file, static_cast<off_t>(position), SEEK_SET) != 0)
        return false;
    m_position = position;
    return true;
}

qint64 CPSStreamFile::BytesLeft()
{
    if (!CanRead())
        return 0;
    if (m_size < 0)
        return -1;
    return m_size > m_position ? m_size - m_position : 0;
}
