#include "x2/X2Attribute.h"

#include "x2/X2TextHelpers.h"

namespace
{
struct Piece
{
    QString key;
    QString value;
    bool hasColon{false};
};

// A value may itself hold ":" (an address such as url(http://...)), so a piece splits at its
// first colon only.
Piece SplitPiece(const QString& piece)
{
    const qsizetype colon = piece.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {piece, QString(), false};
    return {piece.left(colon), piece.mid(colon + 1), true};
}
} // namespace

bool CX2Attribute::FindDeclarationValue(const QString& key, QString& value) const
{
    value.clear();
    const QString wanted = key.trimmed().toLower();
    QStringList pieces;
    SplitDeclarationList(pieces, m_value);
    for (const QString& text : std::as_const(pieces))
    {
        if (text.isEmpty())
            continue;
        const Piece piece = SplitPiece(text);
        if (piece.key.trimmed().toLower() == wanted)
        {
            value = piece.value;
            return true;
        }
    }
    return false;
}

QString CX2Attribute::GetDeclarationValue(const QString& key) const
{
    QString value;
    FindDeclarationValue(key, value);
    return value;
}

void CX2Attribute::SetDeclarationValue(const QString& key, const QString& value)
{
    const QString wanted = key.trimmed();
    QStringList pieces;
    SplitDeclarationList(pieces, m_value);
    QString rebuilt;
    bool found = false;
    for (const QString& text : std::as_const(pieces))
    {
        if (text.isEmpty())
            continue;
        const Piece piece = SplitPiece(text);
        const QString pieceKey = piece.key.trimmed();
        if (pieceKey.compare(wanted, Qt::CaseInsensitive) == 0)
        {
            found = true;
            if (!value.isEmpty())
                rebuilt += pieceKey + QLatin1Char(':') + value + QLatin1Char(';');
            continue;
        }
        rebuilt += pieceKey + QLatin1Char(':') + piece.value + QLatin1Char(';');
    }
    if (!found && !value.isEmpty())
        rebuilt.prepend(key + QLatin1Char(':') + value + QLatin1Char(';'));
    m_value = rebuilt;
}
