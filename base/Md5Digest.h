#pragma once

#include <QRect>
#include <QString>
#include <QtGlobal>

// MD5 over a sequence of typed values. Every typed value is fed as its decimal text in the
// ANSI code page with no separator, so the keys made from it are part of the stored format:
// AddInt(12) then AddInt(3) digests the same bytes as AddInt(123).
class CMd5Digest
{
public:
    CMd5Digest();
    // Digests the bytes and finishes at once.
    CMd5Digest(const void* bytes, int length);

    void Update(const void* bytes, int length);
    void AddString(const QString& text);
    void AddBool(bool value);
    void AddInt(int value);
    // "%f" with ',' as decimal separator in every locale: 1.5 is fed as 1,500000.
    void AddFloat(float value);
    void AddRect(int left, int top, int right, int bottom);
    // The right and bottom edges fed are exclusive: left + width and top + height.
    void AddRect(const QRect& rect);

    void Finish();
    // 32 lower-case hexadecimal digits; empty before Finish.
    QString GetDigest() const { return m_digest; }

private:
    void Transform(const quint8* block);

    quint32 m_state[4];
    quint8 m_block[64] = {};
    int m_blockBytes = 0;
    quint64 m_totalBytes = 0;
    QString m_digest;
};
