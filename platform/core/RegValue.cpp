#include "platform/core/RegValue.h"

#include <QtEndian>

RegValue RegValue::FromText(const QString& text)
{
    RegValue value{REG_SZ, QByteArray((text.size() + 1) * 2, '\0')};
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), value.data.data() + 2 * i);
    return value;
}

RegValue RegValue::FromDword(quint32 number)
{
    RegValue value{REG_DWORD, QByteArray(4, '\0')};
    qToLittleEndian(number, value.data.data());
    return value;
}

QString RegValue::WholeText() const
{
    QString text;
    const qsizetype count = data.size() / 2;
    text.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        text += QChar(qFromLittleEndian<quint16>(data.constData() + 2 * i));
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

QString RegValue::TextToNul() const
{
    QString text = WholeText();
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    return text;
}
