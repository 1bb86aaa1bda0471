#include "webserver/MailBody.h"

#include "base/TextHelpers.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"
#include "webserver/CssWriters.h"
#include "webserver/PageSources.h"
#include "webserver/PageTreeWalk.h"
#include "x2/CssProperties.h"
#include "x2/X2CssParser.h"
#include "x2/X2TextHelpers.h"

#include <set>

using namespace ndb;

namespace
{
const QString Style = QStringLiteral("style");

bool IsOneOf(const CX2Element* node, std::initializer_list<const char*> names)
{
    if (node->GetKind() != CX2Element::Element)
        return false;
    for (const char* name : names)
    {
        if (node->GetName() == QLatin1String(name))
            return true;
    }
    return false;
}

QList<CX2Element*> CollectElements(CX2Element* root, std::initializer_list<const char*> names)
{
    QList<CX2Element*> found;
    ForEachNode(root,
                [&](CX2Element* node)
                {
                    if (IsOneOf(node, names))
                        found.append(node);
                });
    return found;
}

// Rewrites each url( whose address names no scheme; an absolute address ("https://...") stays.
QString MakeStyleUrlsAbsolute(const QString& style, const QString& siteBase)
{
    QString result;
    qsizetype from = 0;
    const QString open = QStringLiteral("url(");
    while (true)
    {
        const qsizetype at = style.indexOf(open, from);
        if (at < 0)
            break;
        const qsizetype start = at + open.size();
        result += style.mid(from, start - from);
        qsizetype close = style.indexOf(QLatin1Char(')'), start);
        if (close < 0)
            close = style.size();
        QString address = style.mid(start, close - start);
        if (!address.contains(QLatin1String("://")) && !address.startsWith(QLatin1String("cid:")))
        {
            QString quote;
            if (address.startsWith(QLatin1Char('\'')) || address.startsWith(QLatin1Char('"')))
            {
                quote = address.left(1);
                address.remove(0, 1);
            }
            if (address.startsWith(QLatin1Char('/')))
                address.remove(0, 1);
            address = quote + siteBase + QLatin1Char('/') + address;
        }
        result += address;
        from = close;
    }
    result += style.mid(from);
    return result;
}

bool IsTableDeclaration(int id)
{
    static const std::set<int> ids = []
    {
        std::set<int> set;
        for (const char* name : {"border",
                                 "border-left",
                                 "border-top",
                                 "border-right",
                                 "border-bottom",
                                 "border-width",
                                 "border-left-width",
                                 "border-top-width",
                                 "border-right-width",
                                 "border-bottom-width",
                                 "border-color",
                                 "border-left-color",
                                 "border-top-color",
                                 "border-right-color",
                                 "border-bottom-color",
                                 "border-style",
                                 "border-left-style",
                                 "border-top-style",
                                 "border-right-style",
                                 "border-bottom-style",
                                 "margin-left",
                                 "margin-right"})
            set.insert(CssPropertyIdFromName(QLatin1String(name)));
        return set;
    }();
    return id != 0 && ids.count(id) != 0;
}

std::unique_ptr<CX2Element> MakeSpacer(const QString& height)
{
    auto table = std::make_unique<CX2Element>(QStringLiteral("table"));
    table->SetAttribute(QStringLiteral("cellpadding"), QStringLiteral("0"));
    table->SetAttribute(QStringLiteral("cellspacing"), QStringLiteral("0"));
    auto row = std::make_unique<CX2Element>(QStringLiteral("tr"));
    auto cell = std::make_unique<CX2Element>(QStringLiteral("td"));
    cell->SetAttribute(Style, QStringLiteral("line-height:1px;font-size:1px;height:%1;").arg(height));
    cell->AppendChild(std::make_unique<CX2Element>(CX2Element::Text, QStringLiteral("&nbsp;")));
    row->AppendChild(std::move(cell));
    table->AppendChild(std::move(row));
    return table;
}

void SplitBoxStyle(const QString& style, CX2StyleSheet& table, CX2StyleSheet& cell, QString& top,
                   QString& bottom)
{
    CX2StyleSheet declarations;
    CX2CssParser().ParseDeclarations(style, declarations);
    const int margin = CssPropertyIdFromName(QStringLiteral("margin"));
    const int marginTop = CssPropertyIdFromName(QStringLiteral("margin-top"));
    const int marginBottom = CssPropertyIdFromName(QStringLiteral("margin-bottom"));
    for (int i = 0; i < declarations.GetDeclarationCount(); ++i)
    {
        const CX2CssDeclaration declaration = declarations.GetDeclaration(i);
        if (IsTableDeclaration(declaration.id))
        {
            table.SetDeclaration(declaration);
        }
        else if (declaration.id == margin)
        {
            const QString value = declaration.value.trimmed();
            QStringList parts;
            SplitText(parts, value, QStringLiteral(" "));
            QString right, left;
            switch (parts.size())
            {
            case 1:
                top = bottom = right = left = parts[0];
                break;
            case 2:
                top = bottom = parts[0];
                right = left = parts[1];
                break;
            case 3:
                top = parts[0];
                bottom = parts[2];
                right = left = parts[1];
                break;
            case 4:
                top = parts[0];
                right = parts[1];
                bottom = parts[2];
                left = parts[3];
                break;
            default:
                table.StoreProperty(margin, value);
                continue;
            }
            table.StoreProperty(margin, QStringLiteral("0 %1 0 %2").arg(right, left));
        }
        else if (declaration.id == marginTop)
        {
            top = declaration.value;
            table.SetDeclaration(declaration);
        }
        else if (declaration.id == marginBottom)
        {
            bottom = declaration.value;
            table.SetDeclaration(declaration);
        }
        else
        {
            cell.SetDeclaration(declaration);
        }
    }
}

void ConvertBox(CX2Element* root, CX2Element* div)
{
    auto cell = std::make_unique<CX2Element>(QStringLiteral("td"));
    while (div->GetChildCount() > 0)
        cell->AppendChild(div->DetachChild(div->GetChild(0)));
    QString top, bottom;
    for (int i = div->GetAttributeCount() - 1; i >= 0; --i)
    {
        CX2Attribute* attribute = div->GetAttribute(i);
        if (attribute->GetName() != Style)
        {
            cell->AppendAttribute(div->DetachAttribute(attribute));
            continue;
        }
        CX2StyleSheet tableSheet, cellSheet;
        SplitBoxStyle(attribute->GetValue(), tableSheet, cellSheet, top, bottom);
        const QString tableStyle = tableSheet.FormatDeclarations(true);
        const QString cellStyle = cellSheet.FormatDeclarations(true);
        if (tableStyle.isEmpty())
            div->DeleteAttributeAt(i);
        else
            attribute->SetValue(tableStyle);
        if (!cellStyle.isEmpty())
            cell->AppendAttribute(std::make_unique<CX2Attribute>(Style, cellStyle));
    }
    CX2Element* parent = root->FindParent(div);
    if (!top.isEmpty() && ParseIntText(top) != 0 && parent)
        parent->InsertChildBefore(MakeSpacer(top), div);
    auto row = std::make_unique<CX2Element>(QStringLiteral("tr"));
    row->AppendChild(std::move(cell));
    div->AppendChild(std::move(row));
    if (!bottom.isEmpty() && ParseIntText(bottom) != 0 && parent)
        parent->InsertChildAfter(MakeSpacer(bottom), div);
    div->SetName(QStringLiteral("table"));
    div->SetAttribute(QStringLiteral("cellpadding"), QStringLiteral("0"));
    div->SetAttribute(QStringLiteral("cellspacing"), QStringLiteral("0"));
}

QString ContentId(const ContentIdForm& form, qsizetype number)
{
    return form.prefix + QStringLiteral("%1@").arg(number, 3, 10, QLatin1Char('0')) + form.domain;
}
} // namespace

void MakeAddressesAbsolute(CX2Element* root, const QString& siteBase)
{
    ForEachNode(root,
                [&](CX2Element* node)
                {
                    if (IsOneOf(node, {"img"}))
                    {
                        CX2Attribute* src = node->FindAttribute(QStringLiteral("src"));
                        if (!src || src->GetValue().isEmpty() ||
                            src->GetValue().contains(QLatin1String("://")))
                            return;
                        QString value = src->GetValue();
                        if (value.startsWith(QLatin1Char('/')))
                            value.remove(0, 1);
                        src->SetValue(siteBase + QLatin1Char('/') + value);
                    }
                    else if (IsOneOf(node, {"table", "td", "div", "body"}))
                    {
                        CX2Attribute* style = node->FindAttribute(Style);
                        if (style && style->GetValue().contains(QLatin1String("url(")))
                            style->SetValue(MakeStyleUrlsAbsolute(style->GetValue(), siteBase));
                    }
                });
}

void ConvertBoxesToTables(CX2Element* root)
{
    for (CX2Element* div : CollectElements(root, {"div"}))
        ConvertBox(root, div);
}

void SetImageSizeAttributes(CX2Element* root)
{
    ForEachNode(
        root,
        [](CX2Element* node)
        {
            if (!IsOneOf(node, {"img"}) || !node->FindAttribute(Style))
                return;
            CX2StyleSheet declarations;
            CX2CssParser().ParseDeclarations(node->GetAttributeValue(Style), declarations);
            for (const char* property : {"width", "height"})
            {
                QString value;
                if (!declarations.GetPropertyValue(CssPropertyIdFromName(QLatin1String(property)), value))
                    continue;
                const int size = ParseIntText(value);
                if (size > 0)
                    node->SetAttribute(QLatin1String(property), QString::number(size));
            }
        });
}

void InlineMailStyles(CX2Element* root, const IPageContext& context, const IPageNewsletter& newsletter)
{
    for (CX2Element* paragraph : CollectElements(root, {"p"}))
    {
        QString className = paragraph->GetAttributeValue(QStringLiteral("class"));
        if (className.isEmpty())
            className = QStringLiteral("normal");
        const CNdbStyle* style = newsletter.FindStyleByTag(className);
        if (!style)
            continue;
        QString css;
        WriteBoxSpacingCss(css, style, &context);
        if (css.isEmpty())
            continue;
        css.replace(QLatin1Char('"'), QLatin1Char('\''));
        paragraph->SetAttribute(Style, css + paragraph->GetAttributeValue(Style));
        if (const CX2Attribute* classAttribute = paragraph->FindAttribute(QStringLiteral("class")))
            paragraph->RemoveAttribute(classAttribute);
    }
    for (CX2Element* image : CollectElements(root, {"img"}))
    {
        const QString style = image->GetAttributeValue(Style).toLower();
        bool bordered = false;
        for (const char* border :
             {"border:", "border-left:", "border-top:", "border-right:", "border-bottom:"})
            bordered = bordered || style.contains(QLatin1String(border));
        if (!bordered)
            image->SetAttribute(Style, QLatin1String("border:none;") + image->GetAttributeValue(Style));
    }
    const CNdbStyle* pageStyle = newsletter.GetPageStyle();
    CNdbFieldValue linkColor;
    QString linkCss;
    if (pageStyle && pageStyle->GetField(StyleLinkColor, linkColor) && linkColor.GetColor() &&
        linkColor.GetColor()->GetKind() != NdbColorNone)
    {
        const CNdbPalette* palette = newsletter.GetPalette();
        const CNdbColor color =
            palette ? palette->ResolveColor(*linkColor.GetColor()) : *linkColor.GetColor();
        linkCss = QLatin1String("color:") + color.ToHex() + QLatin1Char(';');
        const QString decoration = pageStyle->GetLinkDecorationText();
        if (!decoration.isEmpty())
            linkCss += QLatin1String("text-decoration:") + decoration + QLatin1Char(';');
    }
    if (linkCss.isEmpty())
        return;
    for (CX2Element* link : CollectElements(root, {"a"}))
        link->SetAttribute(Style, linkCss + link->GetAttributeValue(Style));
}

void ConvertImageSourcesToCid(CX2Element* element, QList<CX2Element*>& elements, const ContentIdForm& form)
{
    if (element->GetKind() == CX2Element::Element)
    {
        bool hasSource = false;
        if (IsOneOf(element, {"img", "input"}))
        {
            CX2Attribute* src = element->FindAttribute(QStringLiteral("src"));
            if (src && !src->GetValue().isEmpty() && !src->GetValue().contains(QLatin1String("admin/i.")))
            {
                const QString cid = ContentId(form, elements.size() + 1);
                element->SetAttribute(QStringLiteral("__src"), src->GetValue());
                element->SetAttribute(QStringLiteral("__src_cid"), cid);
                src->SetValue(QLatin1String("cid:") + cid);
                elements.append(element);
                hasSource = true;
            }
        }
        if (CX2Attribute* style = element->FindAttribute(Style))
        {
            QString value = style->GetValue();
            const qsizetype open = value.indexOf(QLatin1String("url("));
            const qsizetype close = open < 0 ? -1 : value.indexOf(QLatin1Char(')'), open + 4);
            const QString address = close < 0 ? QString() : value.mid(open + 4, close - open - 4);
            if (!address.isEmpty())
            {
                const QString cid = ContentId(form, elements.size() + 1);
                const QString marker = hasSource ? QStringLiteral("__bg_src") : QStringLiteral("__src");
                element->SetAttribute(marker, address);
                element->SetAttribute(marker + QLatin1String("_cid"), cid);
                value.replace(QLatin1String("url(") + address, QLatin1String("url(cid:") + cid);
                style->SetValue(value);
                elements.append(element);
            }
        }
    }
    for (int i = 0; i < element->GetChildCount(); ++i)
        ConvertImageSourcesToCid(element->GetChild(i), elements, form);
}

void ConvertResourceUrlsToCid(const IPageContext& context, QString& page, ContentIdPartMap& parts,
                              const ContentIdForm& form)
{
    const IPageNewsletter* newsletter = context.GetCurrentNewsletter();
    if (!newsletter)
        return;
    for (const CNdbStyle* style : newsletter->GetStyles())
    {
        CNdbFieldValue image;
        if (!style->GetField(StyleBackgroundImage, image))
            continue;
        const QString cid = ContentId(form, qsizetype(parts.size()) + 1);
        const std::optional<QString> path = newsletter->FindResourcePath(image.GetString());
        if (!path)
            continue;
        QString address = *path;
        const QString pipeline = style->GetString(StyleBackgroundPipeline);
        if (!pipeline.isEmpty())
            address += QLatin1String("?pid=") + pipeline;
        parts[cid] = address;
        page.replace(context.GetServerBaseUrl() + address, QLatin1String("cid:") + cid);
    }
}

void CollectContentIdParts(const QList<CX2Element*>& elements, ContentIdPartMap& parts)
{
    for (CX2Element* element : elements)
    {
        for (const QString& marker : {QStringLiteral("__src"), QStringLiteral("__bg_src")})
        {
            CX2Attribute* address = element->FindAttribute(marker);
            CX2Attribute* cid = element->FindAttribute(marker + QLatin1String("_cid"));
            if (!address || !cid)
                continue;
            parts[cid->GetValue()] = address->GetValue();
            element->RemoveAttribute(address);
            element->RemoveAttribute(cid);
        }
    }
}
