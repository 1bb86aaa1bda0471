// Parses arbitrary bytes as a page, writes it, and parses and writes the result again. The
// first byte picks the transform: HTML pages use the identity, XML replies the entity one.
#include "x2/X2TransformIdentity.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstddef>
#include <cstdint>

namespace
{
QString ParseAndWrite(const QString& text, const CX2TransformBase& transform)
{
    CX2Validator document;
    document.Parse(text, transform);
    QString html;
    document.GetRoot().Write(html, transform);
    QString inner;
    document.GetRoot().AppendInnerText(inner);
    for (const auto& rule : document.GetStyleSheets())
        rule->FormatDeclarations(true);
    return html;
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
    const QString written = ParseAndWrite(text, transform);
    ParseAndWrite(written, transform);
    return 0;
}
