#include "base/TextEncoding.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace
{
constexpr qsizetype DeclarationLimit = 200;

// The encoding named by an XML declaration at the very start, or an empty text.
QByteArray DeclaredEncoding(const QByteArray& bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const QByteArray head = bytes.left(DeclarationLimit);
    const qsizetype end = head.indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const QRegularExpressionMatch match = encoding.match(QString::fromLatin1(head.left(end)));
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}
} // namespace

namespace TextEncoding
{
bool IsUtf8Text(const QByteArray& bytes)
{
    const QByteArray declared = DeclaredEncoding(bytes);
    if (!declared.isEmpty())
        return declared == "utf-8" || declared == "utf8";
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    [[maybe_unused]] const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}
} // namespace TextEncoding
