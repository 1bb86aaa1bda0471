#include "x2/PasteCleanup.h"

#include "ndb/NdbImageResource.h"
#include "ndb/NdbNewsletter.h"
#include "x2/X2HtmlParser.h"
#include "x2/X2TextHelpers.h"
#include "x2/X2Validator.h"

#include <QColor>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

namespace
{
const QString NameAttribute = QStringLiteral("name");
const QString StyleAttribute = QStringLiteral("style");
const QString ClassAttribute = QStringLiteral("class");
const QString ResourceKey = QStringLiteral("src_ResID");

bool IsDeletedElement(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("embed"),  QStringLiteral("iframe"), QStringLiteral("noscript"),
        QStringLiteral("object"), QStringLiteral("option"), QStringLiteral("param"),
        QStringLiteral("script"), QStringLiteral("select"), QStringLiteral("style"),
    };
    return names.contains(name);
}

// Comments, declarations and server blocks go with the deleted elements: only elements and text
// may stay in a paste.
bool IsForbiddenNode(const CX2Element& node)
{
    if (node.GetKind() == CX2Element::Text)
        return false;
    return node.GetKind() != CX2Element::Element || IsDeletedElement(node.GetName());
}

// A browser ignores blanks and control characters inside a scheme, so they are ignored here too.
bool IsScriptAddress(const QString& value)
{
    QString compact;
    for (const QChar c : value)
    {
        if (c.unicode() > 0x20)
            compact += c.toLower();
    }
    return compact.startsWith(QLatin1String("javascript:")) || compact.startsWith(QLatin1String("vbscript:"));
}

std::unique_ptr<CX2Element> CopyWithoutChildren(const CX2Element& node)
{
    auto copy = node.GetKind() == CX2Element::Element
                    ? std::make_unique<CX2Element>(node.GetName())
                    : std::make_unique<CX2Element>(node.GetKind(), node.GetText());
    copy->SetSelfClosing(node.IsSelfClosing());
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        copy->AppendAttribute(node.GetAttribute(i)->Clone());
    return copy;
}

// Deleting forbidden nodes and unwrapping disallowed elements one by one shifts a sibling list
// for every node; a fragment with many siblings would take quadratic time. The kept content is
// copied into a fresh list instead: forbidden nodes are left out with all they hold, a disallowed
// element leaves its kept content in its own place. Nesting beyond what the parser builds is cut.
void CopyKeptContent(const CX2Element& source, CX2Element& target, int depth)
{
    if (depth > CX2HtmlParser::MaxDepth)
        return;
    for (int i = 0; i < source.GetChildCount(); ++i)
    {
        const CX2Element* child = source.GetChild(i);
        if (IsForbiddenNode(*child))
            continue;
        if (!IsAllowedPasteElement(child))
        {
            CopyKeptContent(*child, target, depth + 1);
            continue;
        }
        CX2Element* copy = target.AppendChild(CopyWithoutChildren(*child));
        CopyKeptContent(*child, *copy, depth + 1);
    }
}

// RemoveForbiddenElements and UnwrapDisallowedElements in one pass over the tree.
void RemoveForbiddenAndUnwrapDisallowed(CX2Element& root)
{
    auto kept = std::make_unique<CX2Element>(QString());
    CopyKeptContent(root, *kept, 0);
    root.RemoveAllChildren();
    root.UnwrapChild(root.AppendChild(std::move(kept)));
}

template <typename Visit> void ForEachElement(CX2Element& root, Visit visit)
{
    std::vector<CX2Element*> pending{&root};
    while (!pending.empty())
    {
        CX2Element* node = pending.back();
        pending.pop_back();
        if (node->GetKind() == CX2Element::Element)
            visit(*node);
        for (int i = node->GetChildCount() - 1; i >= 0; --i)
            pending.push_back(node->GetChild(i));
    }
}

QList<CX2Element*> ElementsNamed(CX2Validator& document, const QString& name)
{
    QList<CX2Element*> found;
    document.FindElementsByName(found, name);
    return found;
}

QString StyleValue(const CX2Attribute* style, const QString& key)
{
    return style ? style->GetDeclarationValue(key).trimmed() : QString();
}

void RemoveDeclarations(CX2Attribute* style, std::initializer_list<const char*> keys)
{
    if (!style)
        return;
    for (const char* key : keys)
        style->SetDeclarationValue(QLatin1String(key), QString());
}

CX2Attribute* FindOrAppendAttribute(CX2Element& element, const QString& name)
{
    if (CX2Attribute* attribute = element.FindAttribute(name))
        return attribute;
    return element.AppendAttribute(std::make_unique<CX2Attribute>(name, QString()));
}

bool NamesKnownResource(const CX2Element& element, const PasteContext& context)
{
    const CX2Attribute* name = element.FindAttribute(NameAttribute);
    if (!name || !context.newsletter)
        return false;
    const QString id = name->GetDeclarationValue(ResourceKey);
    return !id.isEmpty() && context.newsletter->Layout().FindResourceById(id);
}

std::unique_ptr<ndb::CNdbResource> FetchPastedImage(const QString& reference, const QString& baseAddress,
                                                    PasteContext& context)
{
    if (!context.newsletter || context.imageFetchesLeft <= 0)
        return nullptr;
    --context.imageFetchesLeft;
    if (context.fetchImage)
        return context.fetchImage(reference, baseAddress);
    return ndb::FetchImageResource(reference, baseAddress);
}

// The page finds an image by its path, so a second "clip_image001.png" (every paste from a word
// processor names its images alike) gets a path of its own instead of showing the first one.
void GiveUniquePath(const ndb::CNdbLayout& layout, ndb::CNdbResource& resource)
{
    const QString path = resource.GetString(ndb::ResourcePath);
    if (!layout.FindResourceByPath(path))
        return;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    for (int number = 2;; ++number)
    {
        const QString candidate = path.left(dot) + QLatin1Char('-') + QString::number(number) + path.mid(dot);
        if (!layout.FindResourceByPath(candidate))
        {
            resource.SetField(ndb::ResourcePath, ndb::CNdbFieldValue(candidate));
            return;
        }
    }
}

const ndb::CNdbResource* AddToLayout(std::unique_ptr<ndb::CNdbResource> resource, PasteContext& context)
{
    ndb::CNdbLayout& layout = context.newsletter->Layout();
    GiveUniquePath(layout, *resource);
    const ndb::CNdbResource* added = resource.get();
    std::unique_lock<std::shared_mutex> lock;
    if (context.lockDocument)
        lock = context.lockDocument();
    layout.AddResource(std::move(resource));
    return added;
}

// A bare number from an HTML attribute ("120") is a length in pixels; a value that carries its
// own unit ("50%", "2em", "120px") is already valid CSS.
QString LengthFromAttribute(const QString& value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.isEmpty())
        return {};
    for (const QChar c : trimmed)
    {
        if (!c.isDigit() && c != QLatin1Char('.'))
            return trimmed;
    }
    return trimmed + QLatin1String("px");
}

QStringList Words(const QString& text)
{
    QStringList pieces;
    SplitText(pieces, text.trimmed(), QStringLiteral(" "));
    pieces.removeAll(QString());
    return pieces;
}

// "solid 1px #000000" becomes "solid 1px F{#000000FF}", the stored form of a fixed colour; colour
// names and short hex forms are written out the same way, since the stored form knows only
// "#RRGGBB". A border that is not exactly style, width and a known colour gives none.
QString BorderMetadata(const QString& border)
{
    static const QSet<QString> widths = {QStringLiteral("thin"), QStringLiteral("medium"),
                                         QStringLiteral("thick")};
    static const QSet<QString> styles = {
        QStringLiteral("none"),  QStringLiteral("hidden"), QStringLiteral("dotted"), QStringLiteral("dashed"),
        QStringLiteral("solid"), QStringLiteral("double"), QStringLiteral("groove"), QStringLiteral("ridge"),
        QStringLiteral("inset"), QStringLiteral("outset"),
    };
    const QStringList words = Words(border);
    if (words.size() != 3)
        return {};
    QString style;
    QString width;
    QString colour;
    for (const QString& original : words)
    {
        const QString word = original.toLower();
        if (word.at(0).isDigit() || widths.contains(word))
            width = word;
        else if (styles.contains(word))
            style = word;
        else if (const QColor known(word); known.isValid())
            colour = QLatin1String("F{") + known.name() + QLatin1String("FF}");
    }
    if (style.isEmpty() || width.isEmpty() || colour.isEmpty())
        return {};
    return style + QLatin1Char(' ') + width + QLatin1Char(' ') + colour;
}

struct ImagePresentation
{
    QString style; // the declarations, in this order, border always last
    QString border;
};

ImagePresentation CollectPresentation(const CX2Element& image)
{
    const CX2Attribute* style = image.FindAttribute(StyleAttribute);
    auto value = [&](const char* key, const QString& fallback)
    {
        const QString fromStyle = StyleValue(style, QLatin1String(key));
        return fromStyle.isEmpty() ? fallback : fromStyle;
    };
    auto attribute = [&](const char* name) { return image.GetAttributeValue(QLatin1String(name)); };

    const QString vspace = LengthFromAttribute(attribute("vspace"));
    const QString hspace = LengthFromAttribute(attribute("hspace"));
    QString margins[4] = {value("margin-top", vspace), value("margin-bottom", vspace),
                          value("margin-left", hspace), value("margin-right", hspace)};
    const QStringList margin = Words(StyleValue(style, QStringLiteral("margin")));
    if (!margin.isEmpty() && margin.size() <= 3)
    {
        for (QString& side : margins)
            side = margin.at(0);
    }
    else if (margin.size() == 4)
    {
        margins[0] = margin.at(0); // top, right, bottom, left
        margins[3] = margin.at(1);
        margins[1] = margin.at(2);
        margins[2] = margin.at(3);
    }

    QString border;
    for (const char* key : {"border", "border-top", "border-left", "border-right", "border-bottom"})
    {
        border = StyleValue(style, QLatin1String(key));
        if (!border.isEmpty())
            break;
    }
    if (border.isEmpty())
    {
        const QString width = LengthFromAttribute(attribute("border"));
        border = width.isEmpty() ? QStringLiteral("none")
                                 : QLatin1String("solid ") + width + QLatin1String(" #000000");
    }

    const std::pair<const char*, QString> declarations[] = {
        {"width", value("width", LengthFromAttribute(attribute("width")))},
        {"height", value("height", LengthFromAttribute(attribute("height")))},
        {"text-align", value("text-align", attribute("align"))},
        {"float", value("float", QString())},
        {"display", value("display", QString())},
        {"margin-top", margins[0]},
        {"margin-bottom", margins[1]},
        {"margin-left", margins[2]},
        {"margin-right", margins[3]},
        {"border", border},
    };
    QStringList written;
    for (const auto& [name, text] : declarations)
    {
        if (!text.isEmpty())
            written.append(QLatin1String(name) + QLatin1Char(':') + text);
    }
    return {written.join(QLatin1Char(';')), border};
}

void DropImage(CX2Element& image)
{
    image.RemoveAllAttributes();
    image.RemoveAllChildren();
    image.SetKind(CX2Element::Text);
    image.SetName(QString());
    image.SetText(QString());
}

void ConvertPastedImages(const QString& baseAddress, CX2Validator& document, PasteContext& context)
{
    for (CX2Element* image : ElementsNamed(document, QStringLiteral("img")))
    {
        if (NamesKnownResource(*image, context))
            continue;
        std::unique_ptr<ndb::CNdbResource> fetched =
            FetchPastedImage(image->GetAttributeValue(QStringLiteral("src")), baseAddress, context);
        if (!fetched)
        {
            DropImage(*image);
            continue;
        }
        const ndb::CNdbResource* resource = AddToLayout(std::move(fetched), context);

        const ImagePresentation presentation = CollectPresentation(*image);
        QString alt = image->GetAttributeValue(QStringLiteral("alt"));
        if (alt.isEmpty())
            alt = image->GetAttributeValue(QStringLiteral("title"));

        image->RemoveAllAttributes();
        image->SetAttribute(QStringLiteral("src"), resource->GetString(ndb::ResourcePath));
        image->SetAttribute(QStringLiteral("alt"), alt);
        image->SetAttribute(StyleAttribute, presentation.style);
        CX2Attribute* name = image->SetAttribute(NameAttribute, QString());
        name->SetDeclarationValue(ResourceKey, resource->GetString(ndb::ResourceId));
        name->SetDeclarationValue(QStringLiteral("src_border"), BorderMetadata(presentation.border));
    }
}

// The address inside "url(...)", without the quotes CSS allows around it; empty when there is
// none.
QString UrlAddress(const QString& background)
{
    const qsizetype open = background.indexOf(QLatin1String("url("), 0, Qt::CaseInsensitive);
    if (open < 0)
        return {};
    const qsizetype close = background.indexOf(QLatin1Char(')'), open + 4);
    if (close < 0)
        return {};
    QString address = background.mid(open + 4, close - open - 4).trimmed();
    if (address.size() >= 2 &&
        (address.front() == QLatin1Char('"') || address.front() == QLatin1Char('\'')) &&
        address.back() == address.front())
        address = address.mid(1, address.size() - 2).trimmed();
    return address;
}

void ConvertPastedBackgrounds(CX2Validator& document, const QString& baseAddress, PasteContext& context)
{
    for (const char* tag : {"table", "td", "div"})
    {
        for (CX2Element* element : ElementsNamed(document, QLatin1String(tag)))
        {
            if (NamesKnownResource(*element, context))
                continue;
            CX2Attribute* style = element->FindAttribute(StyleAttribute);
            QString background = StyleValue(style, QStringLiteral("background-image"));
            if (background.isEmpty())
                background = element->GetAttributeValue(QStringLiteral("background"));
            const QString address = UrlAddress(background);
            std::unique_ptr<ndb::CNdbResource> fetched;
            if (!address.isEmpty())
                fetched = FetchPastedImage(address, baseAddress, context);
            if (!fetched)
            {
                // Only an image address is dropped; a background that is just a colour stays.
                const bool referencedImage =
                    background.contains(QLatin1String("url("), Qt::CaseInsensitive) ||
                    StyleValue(style, QStringLiteral("background"))
                        .contains(QLatin1String("url("), Qt::CaseInsensitive);
                if (referencedImage)
                    RemoveDeclarations(style, {"background", "background-attachment", "background-image",
                                               "background-position", "background-repeat"});
                continue;
            }
            const ndb::CNdbResource* resource = AddToLayout(std::move(fetched), context);
            style = FindOrAppendAttribute(*element, StyleAttribute);
            CX2Attribute* name = FindOrAppendAttribute(*element, NameAttribute);
            name->SetDeclarationValue(ResourceKey, resource->GetString(ndb::ResourceId));
            for (const QString& key :
                 {QStringLiteral("background-repeat"), QStringLiteral("background-position")})
                name->SetDeclarationValue(key, StyleValue(style, key));
            style->SetDeclarationValue(QStringLiteral("background-image"),
                                       QLatin1String("url(") + resource->GetString(ndb::ResourcePath) +
                                           QLatin1Char(')'));
        }
    }
}

void CleanPastedHeadings(CX2Validator& document)
{
    for (int level = 1; level <= 6; ++level)
    {
        const QString tag = QLatin1Char('h') + QString::number(level);
        for (CX2Element* heading : ElementsNamed(document, tag))
        {
            heading->RemoveAllAttributes();
            heading->SetAttribute(ClassAttribute, tag);
        }
    }
}

// Deleting attributes one by one from a tag with very many would take quadratic time; the kept
// ones are collected and put back instead.
void FilterPasteAttributes(CX2Element& root)
{
    ForEachElement(root,
                   [](CX2Element& element)
                   {
                       std::vector<std::unique_ptr<CX2Attribute>> kept;
                       for (int i = 0; i < element.GetAttributeCount(); ++i)
                       {
                           if (IsAllowedPasteAttribute(element.GetAttribute(i), &element))
                               kept.push_back(element.GetAttribute(i)->Clone());
                       }
                       if (int(kept.size()) == element.GetAttributeCount())
                           return;
                       element.RemoveAllAttributes();
                       for (std::unique_ptr<CX2Attribute>& attribute : kept)
                           element.AppendAttribute(std::move(attribute));
                   });
}

void RemoveBorderDeclarations(CX2Element& element)
{
    RemoveDeclarations(element.FindAttribute(StyleAttribute),
                       {"border", "border-top", "border-left", "border-right", "border-bottom"});
}

void ConvertPastedBorders(CX2Validator& document)
{
    for (CX2Element* cell : ElementsNamed(document, QStringLiteral("td")))
        RemoveBorderDeclarations(*cell);
    for (CX2Element* table : ElementsNamed(document, QStringLiteral("table")))
    {
        RemoveBorderDeclarations(*table);
        while (const CX2Attribute* border = table->FindAttribute(QStringLiteral("border")))
            table->RemoveAttribute(border);
        table->SetAttribute(ClassAttribute, QStringLiteral("sys_table"));
    }
    for (CX2Element* box : ElementsNamed(document, QStringLiteral("div")))
    {
        if (box->FindAttribute(StyleAttribute))
            box->SetAttribute(ClassAttribute, QStringLiteral("sys_div"));
        else
            box->SetName(QStringLiteral("p"));
    }
}
} // namespace

bool IsAllowedPasteElement(const CX2Element* node)
{
    static const QSet<QString> names = {
        QStringLiteral("a"),      QStringLiteral("br"),     QStringLiteral("b"),   QStringLiteral("div"),
        QStringLiteral("em"),     QStringLiteral("font"),   QStringLiteral("h1"),  QStringLiteral("h2"),
        QStringLiteral("h3"),     QStringLiteral("h4"),     QStringLiteral("h5"),  QStringLiteral("h6"),
        QStringLiteral("hr"),     QStringLiteral("i"),      QStringLiteral("img"), QStringLiteral("li"),
        QStringLiteral("ol"),     QStringLiteral("p"),      QStringLiteral("s"),   QStringLiteral("span"),
        QStringLiteral("strike"), QStringLiteral("strong"), QStringLiteral("sub"), QStringLiteral("sup"),
        QStringLiteral("table"),  QStringLiteral("td"),     QStringLiteral("tr"),  QStringLiteral("u"),
        QStringLiteral("ul"),
    };
    if (!node)
        return false;
    return node->GetKind() != CX2Element::Element || names.contains(node->GetName());
}

bool IsAllowedPasteAttribute(const CX2Attribute* attribute, const CX2Element* element)
{
    static const QSet<QString> names = {
        QStringLiteral("alt"),         QStringLiteral("background"),  QStringLiteral("border"),
        QStringLiteral("bordercolor"), QStringLiteral("cellpadding"), QStringLiteral("cellspacing"),
        QStringLiteral("colspan"),     QStringLiteral("color"),       QStringLiteral("class"),
        QStringLiteral("height"),      QStringLiteral("href"),        QStringLiteral("id"),
        QStringLiteral("name"),        QStringLiteral("rowspan"),     QStringLiteral("style"),
        QStringLiteral("size"),        QStringLiteral("src"),         QStringLiteral("title"),
        QStringLiteral("type"),        QStringLiteral("valign"),      QStringLiteral("value"),
        QStringLiteral("width"),
    };
    if (!attribute || !element)
        return false;
    const QString name = attribute->GetName().toLower();
    if (!names.contains(name))
        return false;
    const QString tag = element->GetName();
    if (tag == QLatin1String("p") &&
        (name == StyleAttribute || name == QLatin1String("id") || name == NameAttribute))
        return false;
    if ((tag == QLatin1String("td") || tag == QLatin1String("table") || tag == QLatin1String("div")) &&
        name == ClassAttribute)
        return false;
    // A link or address that runs a script is active content like a script element.
    if ((name == QLatin1String("href") || name == QLatin1String("src") ||
         name == QLatin1String("background")) &&
        IsScriptAddress(attribute->GetValue()))
        return false;
    return true;
}

bool CleanPastedHtml(const QString& baseAddress, CX2Validator& document, PasteContext& context)
{
    RemoveForbiddenAndUnwrapDisallowed(document.GetRoot());
    ConvertPastedImages(baseAddress, document, context);
    ConvertPastedBackgrounds(document, baseAddress, context);
    CleanPastedHeadings(document);
    FilterPasteAttributes(document.GetRoot());
    ConvertPastedBorders(document);
    return true;
}
