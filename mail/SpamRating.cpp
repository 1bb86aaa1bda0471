#include "mail/SpamRating.h"

#include "x2/X2Element.h"

namespace
{
bool IsOneOf(const QString& name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names)
    {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}
} // namespace

void CollectSpamText(const CX2Element& node, QString& text)
{
    if (node.GetKind() == CX2Element::Text)
    {
        text += node.GetText();
    }
    else if (node.GetKind() == CX2Element::Element)
    {
        const QString name = node.GetName();
        if (IsOneOf(name, {"style", "script", "object"}))
            return;
        if (!IsOneOf(name, {"a", "b", "strong", "i", "em", "span", "font", "s"}))
            text += u' ';
    }
    for (int i = 0; i < node.GetChildCount(); ++i)
        CollectSpamText(*node.GetChild(i), text);
}

int SpamRatingOf(double score, const SpamFilter::TokenScoreMap& tokens)
{
    int rating = SpamRatingNone;
    if (score >= SpamScore)
        rating = SpamRatingSpam;
    else if (score >= SuspiciousScore)
        rating = SpamRatingSuspicious;
    for (const auto& [token, probability] : tokens)
    {
        if (probability >= SpamScore)
            return SpamRatingSpam;
    }
    return rating;
}
