// Parses arbitrary bytes as a page, writes it, and parses and writes the result again: what the
// writer gives of a page the parser took whole must read back as the same page, unless it
// nested deeper than the parser goes and was reshaped. The first byte picks the transform: HTML
// pages use the identity, XML replies the entity one. The entity transform writes the text of a
// style or script escaped and reads it back raw, so its pages with one are left out.
#include "x2/X2HtmlParser.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
int Depth(const CX2Element& element)
{
    int deepest = 0;
    for (int i = 0; i < element.GetChildCount(); ++i)
        deepest = std::max(deepest, Depth(*element.GetChild(i)));
    return deepest + 1;
}

// The page as written, whether the parser took all of it, and how deep it nests.
struct Reading
{
    QString html;
    bool parsed{false};
    int depth{0};
    bool rawText{false};
};

Reading ParseAndWrite(const QString& text, const CX2TransformBase& transform)
{
    CX2Validator document;
    Reading reading;
    reading.parsed = document.Parse(text, transform);
    document.GetRoot().Write(reading.html, transform);
    QString inner;
    document.GetRoot().AppendInnerText(inner);
    for (const auto& rule : document.GetStyleSheets())
        rule->FormatDeclarations(true);
    reading.depth = Depth(document.GetRoot());
    reading.rawText = document.GetRoot().FindElementByName(QStringLiteral("style")) ||
                      document.GetRoot().FindElementByName(QStringLiteral("script"));
    return reading;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const CX2TransformIdentity identity;
    const CX2TransformXmlFennick xml;
    const CX2TransformBase& transform = (data[0] & 1) ? static_cast<const CX2TransformBase&>(xml) : identity;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const Reading first = ParseAndWrite(text, transform);
    const Reading second = ParseAndWrite(first.html, transform);
    const bool comparable =
        first.parsed && first.depth <= CX2HtmlParser::MaxDepth && (&transform == &identity || !first.rawText);
    if (comparable && second.html != first.html)
        std::abort();
    return 0;
}
