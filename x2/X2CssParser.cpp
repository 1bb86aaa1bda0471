#include "x2/X2CssParser.h"

#include "x2/X2TextHelpers.h"

#include <QStringView>

namespace
{
// A ";" inside quotes or parentheses belongs to the value, as in url(data:image/png;base64,...)
// or a quoted font name; an unbalanced quote or parenthesis runs to the end of the text. So does
// the ";" of a character reference, as in a style attribute's &quot;Nunito Sans&quot;.
qsizetype FindValueEnd(const QString& text, qsizetype from)
{
    QChar quote;
    int depth = 0;
    for (qsizetype i = from; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&'))
        {
            const qsizetype end = CharacterReferenceEnd(text, i);
            i = end < 0 ? i : end - 1;
        }
        else if (!quote.isNull())
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

// The selector text before a block, without the statements that may stand in front of it:
// "@import url(x);" and "@charset "utf-8";" end at their ";" and select nothing.
QStringView WithoutAtRuleStatements(QStringView prelude)
{
    for (;;)
    {
        const QStringView trimmed = prelude.trimmed();
        const qsizetype semicolon = trimmed.indexOf(u';');
        if (!trimmed.startsWith(u'@') || semicolon < 0)
            return trimmed;
        prelude = trimmed.sliced(semicolon + 1);
    }
}

// The next occurrence of a character at or after a position. The last answer is kept, so that
// deeply nested blocks cannot make the scan read the rest of the text again for every block.
class NextCharacter
{
public:
    NextCharacter(const QString& text, char16_t c) : m_text(text), m_char(c) {}

    qsizetype From(qsizetype position)
    {
        const bool known = m_from >= 0 && position >= m_from && (m_found < 0 || m_found >= position);
        if (!known)
        {
            m_from = position;
            m_found = m_text.indexOf(QChar(m_char), position);
        }
        return m_found;
    }

private:
    const QString& m_text;
    char16_t m_char;
    qsizetype m_from{-1};
    qsizetype m_found{-1};
};
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
        // "/*/" opens a comment and does not close it: banners such as "/*//// RESET ////*/"
        // run to the next "*/".
        const qsizetype end = text.indexOf(close, start + open.size());
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
    NextCharacter nextOpen(text, u'{');
    NextCharacter nextClose(text, u'}');
    RuleCounts counts;
    int groupDepth = 0;
    qsizetype position = 0;
    for (;;)
    {
        const qsizetype open = nextOpen.From(position);
        if (groupDepth > 0)
        {
            const qsizetype groupEnd = nextClose.From(position);
            if (groupEnd >= 0 && (open < 0 || groupEnd < open))
            {
                --groupDepth;
                position = groupEnd + 1;
                continue;
            }
        }
        if (open < 0)
            break;
        const qsizetype close = nextClose.From(open + 1);
        if (close < 0)
            break;
        const QString selectors =
            WithoutAtRuleStatements(QStringView(text).sliced(position, open - position)).toString().toLower();
        // An at-rule whose block holds blocks (@media, @supports) groups rules: they are read
        // one by one and marked as standing in it.
        const qsizetype inner = nextOpen.From(open + 1);
        if (selectors.startsWith(u'@') && inner >= 0 && inner < close)
        {
            ++groupDepth;
            position = open + 1;
            continue;
        }
        if (!AddBlock(selectors, text.mid(open + 1, close - open - 1), groupDepth > 0, counts, rules))
            return true;
        position = close + 1;
    }
    return true;
}

bool CX2CssParser::AddBlock(const QString& selectors, const QString& block, bool insideAtRule,
                            RuleCounts& counts, X2StyleSheetList& rules) const
{
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
        rule->SetInsideAtRule(insideAtRule);
        counts.declarations += rule->GetDeclarationCount();
        rules.push_back(std::move(rule));
        if (++counts.rules == MaxRulesPerStyleSheet || counts.declarations > MaxDeclarationsPerStyleSheet)
            return false;
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
