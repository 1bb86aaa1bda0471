// Reads arbitrary bytes as a style sheet and as a style attribute, and writes the rules back.
#include "x2/X2Attribute.h"
#include "x2/X2CssParser.h"
#include "x2/X2TextHelpers.h"

#include <cstddef>
#include <cstdint>

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
    CX2StyleSheet again;
    parser.ParseDeclarations(rule.FormatDeclarations(true), again);

    CX2Attribute attribute(QStringLiteral("name"), text);
    QString value;
    attribute.FindDeclarationValue(QStringLiteral("src_ResID"), value);
    attribute.SetDeclarationValue(QStringLiteral("color"), QStringLiteral("red"));
    FindDeclarationInText(QStringLiteral("src_action_type"), text, value);
    return 0;
}
