#include "webserver/NewsletterPage.h"

#include "base/HtmlEntities.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"
#include "webserver/CssWriters.h"
#include "webserver/MailBody.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageSources.h"
#include "webserver/PageTreeWalk.h"
#include "webserver/WebViewScripts.h"
#include "x2/CssProperties.h"
#include "x2/NameMetadata.h"
#include "x2/X2TextHelpers.h"
#include "x2/X2Validator.h"

#include <exception>

using namespace ndb;

namespace
{
const QString CrLf = QStringLiteral("\r\n");
const QString SystemStyleId = QStringLiteral("KV_SYSTEM_STYLE_ID");

// The context as one page kind sees it: pages shown by the program load embedded resources from
// the local server, while published pages and mail bodies must never name it. The web view and the
// embedded mail body keep the relative path (the mail builder turns it into a content id), the
// linked mail body points at the user's site.
class CPageKindContext : public IPageContext
{
public:
    CPageKindContext(const IPageContext& inner, NewsletterPageKind kind, const QString& siteBase)
        : m_inner(inner), m_kind(kind), m_siteBase(siteBase)
    {
    }
    const IPageNewsletter* GetCurrentNewsletter() const override { return m_inner.GetCurrentNewsletter(); }
    QString GetServerBaseUrl() const override { return m_inner.GetServerBaseUrl(); }
    QString GetUnsubscribeText() const override { return m_inner.GetUnsubscribeText(); }
    QString MakeResourceUrl(const QString& relativePath) const override
    {
        switch (m_kind)
        {
        case Preview:
        case Edit:
            return m_inner.MakeResourceUrl(relativePath);
        case MailLinked:
            return m_siteBase + QLatin1Char('/') +
                   (relativePath.startsWith(QLatin1Char('/')) ? relativePath.mid(1) : relativePath);
        default:
            return relativePath;
        }
    }

private:
    const IPageContext& m_inner;
    NewsletterPageKind m_kind;
    QString m_siteBase;
};

QString ResolvedHex(const CNdbColor& color, const CNdbPalette* palette)
{
    return palette ? palette->ResolveColor(color).ToHex() : color.ToHex();
}

QString ResolvedHexFromText(const QString& text, const CNdbPalette* palette)
{
    CNdbColor color;
    color.FromText(text);
    return ResolvedHex(color, palette);
}

QString LinkRuleParts(const CNdbStyle* style, int colorField, const QString& decoration,
                      const CNdbPalette* palette)
{
    QString parts;
    if (!style)
        return parts;
    CNdbFieldValue value;
    if (style->GetField(colorField, value) && value.GetColor() && value.GetColor()->GetKind() != NdbColorNone)
        parts += QLatin1String(" color:") + ResolvedHex(*value.GetColor(), palette) + QLatin1Char(';');
    if (!decoration.isEmpty())
        parts += QLatin1String(" text-decoration:") + decoration + QLatin1Char(';');
    return parts;
}

void WriteHead(QString& page, NewsletterPageKind kind, const QString& generator, const IPageContext& context,
               const IPageNewsletter& newsletter)
{
    const IPageNewsletter* current = context.GetCurrentNewsletter();
    page += QLatin1String("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">") +
            CrLf;
    page += QLatin1String("<html xmlns=\"http://www.w3.org/1999/xhtml\">") + CrLf;
    page += QLatin1String("<head>") + CrLf;
    page += QLatin1String("<title>") +
            EncodeHtmlEntities(current ? current->GetNewsletterText(NewsletterTitleField) : QString()) +
            QLatin1String("</title>") + CrLf;
    if (kind == MailEmbedded || kind == MailLinked)
        page +=
            QLatin1String("<meta http-equiv=\"Content-type\" content=\"text/html; charset=iso-8859-1\" />");
    else
        page += QLatin1String("<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />");
    page += CrLf;
    page += QLatin1String("<meta name=\"generator\" content=\"") + generator + QLatin1String("\" />") + CrLf;

    const CNdbStyle* style = newsletter.GetPageStyle();
    const CNdbPalette* palette = newsletter.GetPalette();
    page += QLatin1String("<style type=\"text/css\">") + CrLf;
    page +=
        QLatin1String("a {") +
        LinkRuleParts(style, StyleLinkColor, style ? style->GetLinkDecorationText() : QString(), palette) +
        QLatin1String(" }") + CrLf;
    page += QLatin1String("a:visited { ") +
            LinkRuleParts(style, StyleVisitedLinkColor,
                          style ? style->GetVisitedLinkDecorationText() : QString(), palette) +
            QLatin1String(" }") + CrLf;
    page += QLatin1String("a:hover {") +
            LinkRuleParts(style, StyleHoverLinkColor, style ? style->GetHoverLinkDecorationText() : QString(),
                          palette) +
            QLatin1String(" }") + CrLf;
    if (kind != MailEmbedded && kind != MailLinked)
    {
        page += QLatin1String("img { border:none; }") + CrLf;
        page += BuildNewsletterCss(&context);
    }
    page += QLatin1String("</style>") + CrLf;
    if (kind == Edit)
    {
        page += QLatin1String("<style type=\"text/css\">") + CrLf;
        page += QLatin1String(".sys_table { border:0px solid #ff0000; }") + CrLf;
        page += QLatin1String(".sys_table td { border:1px dashed #ff8400; }") + CrLf;
        page += QLatin1String(".sys_div { border:1px dashed #ff00ff; }") + CrLf;
        page += QLatin1String("</style>") + CrLf;
    }
    page += QLatin1String("</head>") + CrLf;
    page += QLatin1String("<body class=\"normal\"");
    if (style)
    {
        QString css;
        WriteRecordCss(css, style, &context);
        // Free CSS text may hold double quotes, which would end the attribute.
        css.replace(QLatin1Char('"'), QLatin1Char('\''));
        page += QLatin1String(" style=\"") + css + QLatin1Char('"');
    }
    page += QLatin1Char('>') + CrLf;
}

void ConvertBookmarks(CX2Element* root)
{
    ForEachNode(root,
                [](CX2Element* node)
                {
                    if (!IsTagNamed(node, QStringLiteral("code")))
                        return;
                    CX2Element* anchor = node->FindElementByName(QStringLiteral("a"));
                    if (!anchor)
                        return;
                    const QString name = anchor->GetAttributeValue(QStringLiteral("name"));
                    if (name.isEmpty())
                        return;
                    node->RemoveAllAttributes();
                    node->RemoveAllChildren();
                    node->SetName(QStringLiteral("a"));
                    node->SetAttribute(QStringLiteral("name"), name);
                    node->SetSelfClosing(true);
                });
}

QString BuildBody(NewsletterPageKind kind, const IPageContext& context, const IPageNewsletter& newsletter,
                  MergeFieldSet* usedMergeFields, const LinkTrackerMap* linkTrackers, const QString& siteBase)
{
    QString html = newsletter.GetBodyHtml();
    html.remove(context.GetServerBaseUrl());
    CX2Validator document;
    document.ParseHtml(html);
    CX2Element* root = &document.GetRoot();

    const bool mail = kind == MailEmbedded || kind == MailLinked;
    if (kind == MailLinked)
        MakeAddressesAbsolute(root, siteBase);
    ApplyNameMetadataStyles(root, newsletter.GetPalette());
    if (mail)
    {
        ConvertBoxesToTables(root);
        SetImageSizeAttributes(root);
    }
    if (kind != Preview && kind != Edit)
    {
        ReplaceMergeFields(root, kind, newsletter.GetSenderText(SenderSiteTypeField), usedMergeFields);
        ApplyLinkActions(root, kind, context, newsletter, linkTrackers);
    }
    if (kind != Edit)
    {
        ConvertBookmarks(root);
        StripEditorAttributes(root);
    }
    DropSavedEditorStyle(document);
    if (mail)
        InlineMailStyles(root, context, newsletter);

    QString body;
    document.WriteHtml(body);
    return body;
}
} // namespace

QString GetSiteBaseAddress(const IPageNewsletter& newsletter)
{
    QString base = newsletter.GetSenderText(SenderSiteUrlField);
    QString folder = newsletter.GetSenderText(SenderWebViewFolderField).trimmed();
    if (folder.isEmpty())
        return base;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    if (folder.startsWith(QLatin1Char('/')))
        folder.remove(0, 1);
    base += folder;
    if (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString GetSiteRootAddress(const IPageNewsletter& newsletter)
{
    QString root = newsletter.GetSenderText(SenderSiteUrlField);
    root.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root;
}

void ApplyNameMetadataStyles(CX2Element* element, const CNdbPalette* palette)
{
    ForEachNode(
        element,
        [palette](CX2Element* node)
        {
            if (node->GetKind() != CX2Element::Element)
                return;
            const CX2Attribute* nameAttribute = node->FindAttribute(QStringLiteral("name"));
            if (!nameAttribute)
                return;
            const QString metadata = nameAttribute->GetValue();
            CX2StyleSheet declarations;
            CX2CssParser().ParseDeclarations(node->GetAttributeValue(QStringLiteral("style")), declarations);
            QString value = GetNameMetadataText(metadata, QStringLiteral("background-color"));
            if (!value.isEmpty())
                declarations.SetPropertyByName(QStringLiteral("background-color"),
                                               ResolvedHexFromText(value, palette));
            value = GetNameMetadataText(metadata, QStringLiteral("color"));
            if (!value.isEmpty())
                declarations.SetPropertyByName(QStringLiteral("color"), ResolvedHexFromText(value, palette));
            for (const char* side : {"top", "right", "bottom", "left"})
            {
                const QString border = QLatin1String("border-") + QLatin1String(side);
                value = GetNameMetadataText(metadata, QLatin1String("src_border_") + QLatin1String(side));
                if (value.isEmpty())
                    continue;
                QStringList parts;
                SplitText(parts, value.trimmed(), QStringLiteral(" "));
                if (parts.size() != 3)
                    continue;
                declarations.SetPropertyByName(
                    border, QStringLiteral("%1 %2 %3")
                                .arg(parts[0], parts[1], ResolvedHexFromText(parts[2], palette)));
                for (const char* longhand : {"-color", "-style", "-width"})
                    declarations.RemoveProperty(CssPropertyIdFromName(border + QLatin1String(longhand)));
            }
            node->SetAttribute(QStringLiteral("style"), declarations.FormatDeclarations(true));
        });
}

void StripEditorAttributes(CX2Element* element)
{
    ForEachNode(element,
                [](CX2Element* node)
                {
                    if (node->GetKind() != CX2Element::Element)
                        return;
                    if (const CX2Attribute* name = node->FindAttribute(QStringLiteral("name")))
                    {
                        if (node->GetName() != QLatin1String("a") ||
                            node->FindAttribute(QStringLiteral("href")))
                            node->RemoveAttribute(name);
                    }
                    if (node->GetName() == QLatin1String("table") || node->GetName() == QLatin1String("div"))
                    {
                        if (const CX2Attribute* guide = node->FindAttribute(QStringLiteral("class")))
                            node->RemoveAttribute(guide);
                    }
                });
}

void DropSavedEditorStyle(CX2Validator& document)
{
    QList<CX2Element*> styles;
    document.FindElementsByName(styles, QStringLiteral("style"));
    for (CX2Element* style : styles)
    {
        if (style->GetKind() == CX2Element::Element &&
            style->GetAttributeValue(QStringLiteral("id")).compare(SystemStyleId, Qt::CaseInsensitive) == 0)
        {
            style->SetKind(CX2Element::Empty);
            return;
        }
    }
}

bool GenerateNewsletterPage(const QString& generator, QString& output, NewsletterPageKind kind,
                            const IPageContext& context, const IPageNewsletter& newsletter,
                            MergeFieldSet* usedMergeFields, const LinkTrackerMap* linkTrackers)
{
    try
    {
        const QString siteBase = GetSiteBaseAddress(newsletter);
        const CPageKindContext kindContext(context, kind, siteBase);
        QString page;
        if (kind == WebView)
            page += WebViewPrologue(newsletter.GetSenderText(SenderSiteTypeField));
        WriteHead(page, kind, generator, kindContext, newsletter);
        if (kind == WebView)
            page += UnsubscribeBanner(kindContext);
        else if (kind == Edit)
            page += QLatin1String("<style type=\"text/css\" id=\"KV_SYSTEM_STYLE_ID\">") + CrLf +
                    BuildNewsletterCss(&kindContext) + QLatin1String("</style>") + CrLf;
        page += BuildBody(kind, kindContext, newsletter, usedMergeFields, linkTrackers, siteBase);
        if (kind == MailEmbedded || kind == MailLinked)
            page += OpenTrackingImage(newsletter);
        page += QLatin1String("</body>") + CrLf + QLatin1String("</html>") + CrLf;
        output = page;
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool GenerateNewsletterPage(const QString& generator, QString& output, NewsletterPageKind kind,
                            const IPageContext& context, const ndb::CNdbNewsletter& newsletter,
                            MergeFieldSet* usedMergeFields, const LinkTrackerMap* linkTrackers)
{
    const CNewsletterPageSource source(newsletter);
    return GenerateNewsletterPage(generator, output, kind, context, source, usedMergeFields, linkTrackers);
}
