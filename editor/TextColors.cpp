#include "editor/TextColors.h"

#include "base/TextHelpers.h"
#include "editor/ElementMetadata.h"
#include "ndb/NdbColor.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/UndoUnitScope.h"

#include <functional>

namespace
{
// The engine colours the selection with a marker that no user colour is, so that the program
// can tell its fonts apart while it rewrites them.
const QString TextColorMarker = QStringLiteral("#EF01EF");
const QString FillColorMarker = QStringLiteral("#EF01FE");

// The class list with the colour's class first and every other class of that kind dropped;
// an empty class only drops.
QString ReplaceColorClass(const QString& classes, const QString& kind, const QString& colorClass)
{
    QStringList pieces;
    SplitString(classes, pieces, QStringLiteral(" "));
    QString result = colorClass;
    for (const QString& piece : pieces)
    {
        const QString trimmed = piece.trimmed();
        if (trimmed.isEmpty() || trimmed.contains(kind))
            continue;
        if (!result.isEmpty())
            result += QLatin1Char(' ');
        result += trimmed;
    }
    return result;
}

void SetClasses(CHtmlElement& element, const QString& classes)
{
    if (classes.isEmpty())
        element.RemoveAttribute(QStringLiteral("class"));
    else
        element.SetClassName(classes);
}

// Colours the selection with the marker in one named step and hands each font the engine
// coloured to the rewrite.
bool ApplyColor(CIEBrowser& browser, UINT command, const QString& marker, const QString& title,
                const std::function<void(CHtmlElement&)>& rewrite)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!browser.GetEditFlag() || !browser.GetDHtmlDocument(document) || !browser.IsCommandEnabled(command))
        return false;
    CUndoUnitScope scope(*document, title);
    const QVariant input(marker);
    QVariant coloured;
    if (browser.ExecCommand(command, OLECMDEXECOPT_DODEFAULT, &input, &coloured) != S_OK)
        return false;
    for (const QVariant& ref : coloured.toList())
        if (auto font = document->ElementOf(ref))
            rewrite(*font);
    return true;
}
} // namespace

bool ApplyTextColor(CIEBrowser& browser, const ndb::CNdbColor& color)
{
    const bool palette = color.GetKind() == ndb::NdbColorPalette;
    const QString colorClass = palette ? QStringLiteral("text_") + MakeIdentifier(color.GetKey()) : QString();
    return ApplyColor(
        browser, IDM_FORECOLOR, TextColorMarker, QStringLiteral("Text Color"),
        [&](CHtmlElement& font)
        {
            SetNameMetadata(font, QStringLiteral("color"), color.ToText());
            font.SetAttribute(QStringLiteral("color"), palette ? QString() : color.ToHex());
            SetClasses(font, ReplaceColorClass(font.GetClassName(), QStringLiteral("text_"), colorClass));
        });
}

bool ApplyFillColor(CIEBrowser& browser, const ndb::CNdbColor& color)
{
    const bool palette = color.GetKind() == ndb::NdbColorPalette;
    return ApplyColor(
        browser, IDM_BACKCOLOR, FillColorMarker, QStringLiteral("Text Background Color"),
        [&](CHtmlElement& font)
        {
            SetNameMetadata(font, QStringLiteral("background-color"), color.ToText());
            if (!palette)
            {
                font.SetStyleProperty(QStringLiteral("background-color"), color.ToHex());
                return;
            }
            // The class colours it; the rest of the element's style stays.
            SetClasses(font, ReplaceColorClass(font.GetClassName(), QStringLiteral("bg_"),
                                               QStringLiteral("bg_") + MakeIdentifier(color.GetKey())));
            font.SetStyleProperty(QStringLiteral("background-color"), QString());
        });
}
