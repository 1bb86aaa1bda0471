// Reads arbitrary bytes as a style sheet and as a style attribute, and writes the rules back.
// Written declarations read back as no more declarations than were written, and as the same
// ones where no value holds a quote, a parenthesis or a character reference that could join it
// with the next.
#include "x2/X2Attribute.h"
#include "x2/X2CssParser.h"
#include "x2/X2TextHelpers.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
bool IsPlain(const CX2StyleSheet& rule)
{
    static const QRegularExpression joining(QStringLiteral("[&\"'();:]"));
    for (int i = 0; i < rule.GetDeclarationCount(); ++i)
    {
        const CX2CssDeclaration declaration = rule.GetDeclaration(i);
        for (const QString& text : {declaration.name, declaration.value})
        {
            if (text.contains(joining))
                return false;
        }
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const CX2CssParser parser;
    X2StyleSheetList rules;
    parser.ParseStyleSheet(text, rules);
    for (const auto& rule : rules)
    {
        rule->FormatDeclarations(false);
        rule->GetSpecificity();
    }
    CX2StyleSheet rule;
    parser.ParseDeclarations(text, rule);
    rule.FormatDeclarations(true);
    // Quoted for an attribute, double quotes become single ones and may pair up differently: the
    // round trip is the one of a style sheet.
    const QString written = rule.FormatDeclarations(false);
    CX2StyleSheet again;
    parser.ParseDeclarations(written, again);
    if (again.GetDeclarationCount() > rule.GetDeclarationCount() ||
        (IsPlain(rule) && again.FormatDeclarations(false) != written))
        std::abort();

    CX2Attribute attribute(QStringLiteral("name"), text);
    QString value;
    attribute.FindDeclarationValue(QStringLiteral("src_ResID"), value);
    attribute.SetDeclarationValue(QStringLiteral("color"), QStringLiteral("red"));
    FindDeclarationInText(QStringLiteral("src_action_type"), text, value);
    return 0;
}
