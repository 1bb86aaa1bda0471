#pragma once

#include <QString>

#include <map>

namespace SpamFilter
{

// Token -> number of occurrences in the text.
using TokenMap = std::map<QString, int>;

// The characters that separate tokens: white space, digits and punctuation. Everything else,
// letters of any script included, belongs to a token.
extern const QString SpamDelimiters;

// Splits text into the tokens the classifier scores. Stateless.
class CParserBayesian
{
public:
    virtual ~CParserBayesian() = default;

    // Adds every maximal run of non-delimiters to the map (1 when new, one more when known).
    // Tokens keep their case; the callers lower-case the text first.
    void Tokenize(const QString& text, TokenMap& tokens) const;
};

} // namespace SpamFilter
