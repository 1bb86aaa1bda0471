#include "x2/X2CssParser.h"

#include "x2/X2TextHelpers.h"

namespace
{
// A ";" inside quotes or parentheses belongs to the value, as in url(data:image/png;base64,...)
// or a quoted font name; an unbalanced quote or parenthesis runs to the end of the text.
qsizetype FindValueEnd(const QString& text, qsizetype from)
{
    QChar quote;
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        if (!quote.isNull())
        {
            if (c == quote)
                quote = QChar();
        }
        else if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            quote = c;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        else if (c == QLatin1Char(';') && depth == 0)
            return i;
    }
    return text.size();
}
} // namespace

QString CX2CssParser::StripComments(const QString& text, const QString& open, const QString& close) const
{
    if (open.isEmpty() || close.isEmpty())
        return text;
    QString result;
    qsizetype position = 0;
    for (;;)
    {
        const qsizetype start = text.indexOf(open, position);
        if (start < 0)
        {
            result += QStringView(text).mid(position);
            return result;
        }
        result += QStringView(text).mid(position, start - position);
        // Searching from the opening delimiter itself makes "/*/" a whole comment.
        const qsizetype end = text.indexOf(close, start);
        if (end < 0)
            return result;
        position = end + close.size();
    }
}

bool CX2CssParser::ParseStyleSheet(const QString& css, X2StyleSheetList& rules) const
{
    if (css.size() > MaxStyleSheetLength)
        return false;
    const QString text = StripComments(css, QStringLiteral("/*"), QStringLiteral("*/"));
    int added = 0;
    int declarations = 0;
    qsizetype position = 0;
    for (;;)
    {
        const qsizetype open = text.indexOf(QLatin1Char('{'), position);
        if (open < 0)
            break;
        // Blocks do not nest: an at-rule with inner blocks ends at its first "}".
        const qsizetype close = text.indexOf(QLatin1Char('}'), open + 1);
        if (close < 0)
            break;
        const QString selectors = text.mid(position, open - position).trimmed().toLower();
        const QString block = text.mid(open + 1, close - open - 1);
        QStringList list;
        SplitText(list, selectors, QStringLiteral(","));
        for (const QString& entry : std::as_const(list))
        {
            const QString selector = entry.trimmed();
            if (selector.isEmpty())
                continue;
            auto rule = std::make_unique<CX2StyleSheet>(selector);
            ParseSelector(*rule, selector);
            ParseDeclarations(block, *rule);
            declarations += rule->GetDeclarationCount();
            rules.push_back(std::move(rule));
            if (++added == MaxRulesPerStyleSheet || declarations > MaxDeclarationsPerStyleSheet)
                return true;
        }
        position = close + 1;
    }
    return true;
}

void CX2CssParser::ParseDeclarations(const QString& text, CX2StyleSheet& rule) const
{
    qsizetype position = 0;
    while (position < text.size())
    {
        const qsizetype colon = text.indexOf(QLatin1Char(':'), position);
        if (colon < 0)
            return;
        // A piece without ":" before the name (as in "junk; color:red") is skipped, not glued
        // onto the name of the next declaration.
        QStringView name = QStringView(text).mid(position, colon - position);
        const qsizetype semicolon = name.lastIndexOf(QLatin1Char(';'));
        if (semicolon >= 0)
            name = name.mid(semicolon + 1);
        const qsizetype end = FindValueEnd(text, colon + 1);
        const QString key = name.trimmed().toString().toLower();
        if (!key.isEmpty())
            rule.SetPropertyByName(key, text.mid(colon + 1, end - colon - 1).trimmed());
        position = end + 1;
    }
}

bool CX2CssParser::ParseSelector(CX2StyleSheet& rule, const QString& selector) const
{
    QStringList pieces;
    SplitText(pieces, selector, QStringLiteral(" "));
    for (const QString& entry : std::as_const(pieces))
    {
        QString piece = entry.trimmed();
        if (piece.isEmpty())
            continue;
        const qsizetype hash = piece.indexOf(QLatin1Char('#'));
        const qsizetype dot = piece.indexOf(QLatin1Char('.'));
        if (hash >= 0)
            rule.AddSelectorPart(piece.left(hash), QString(), piece.mid(hash).remove(QLatin1Char('#')));
        else if (dot >= 0)
            rule.AddSelectorPart(piece.left(dot), piece.mid(dot).remove(QLatin1Char('.')), QString());
        else
            rule.AddSelectorPart(piece, QString(), QString());
    }
    return true;
}
