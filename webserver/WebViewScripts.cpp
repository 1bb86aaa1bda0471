#include "webserver/WebViewScripts.h"

#include "base/HtmlEntities.h"
#include "base/TextHelpers.h"
#include "webserver/PageSources.h"
#include "webserver/PageTreeWalk.h"
#include "x2/NameMetadata.h"

namespace
{
const QString CrLf = QStringLiteral("\r\n");
const QString Asp = QStringLiteral("asp");
const QString Php = QStringLiteral("php");

bool IsSiteType(const QString& siteType, const QString& type)
{
    return siteType.compare(type, Qt::CaseInsensitive) == 0;
}

// The recipient's address inside a link's query. Quoted with apostrophes: the page writer turns
// double quotes inside attribute values into entities, which would break the script.
QString RecipientToken(NewsletterPageKind kind, const QString& siteType)
{
    if (kind == WebView && siteType == Asp)
        return QStringLiteral("<%=Server.URLEncode(qv('u'))%>");
    if (kind == WebView && siteType == Php)
        return QStringLiteral("<?php print(urlencode(qv('u'))); ?>");
    return QStringLiteral("[[[USEREMAIL]]]");
}
} // namespace

QString WebViewPrologue(const QString& siteType)
{
    QStringList lines;
    if (IsSiteType(siteType, Asp))
    {
        lines << QStringLiteral("<%@ language=\"javascript\" codepage=\"65001\" %>")
              << QStringLiteral("<%Response.Buffer = true;%>")
              << QStringLiteral("<%Response.CharSet = \"utf-8\";%>")
              << QStringLiteral("<% function qv(s) { return Request.QueryString(s).Count == 0 ? \"\" : "
                                "Request.QueryString(s) + \"\"; } %>");
    }
    else if (IsSiteType(siteType, Php))
    {
        // get_magic_quotes_gpc is gone from PHP 8, and a query value may arrive as an array.
        lines
            << QStringLiteral("<?php")
            << QStringLiteral("header(\"Content-Type: text/html; charset=utf-8\");")
            << QStringLiteral("function UndoMagicGPC($str) {")
            << QStringLiteral(
                   "\tif(!function_exists(\"get_magic_quotes_gpc\") || !get_magic_quotes_gpc()) return $str;")
            << QStringLiteral("\t$str .= \"\";")
            << QStringLiteral("\t$str = str_replace(\"\\\\'\",\t\"'\",\t$str);")
            << QStringLiteral("\t$str = str_replace(\"\\\\\\\"\",\t\"\\\"\",\t$str);")
            << QStringLiteral("\t$str = str_replace(\"\\\\\\\\\",\t\"\\\\\",\t$str);")
            << QStringLiteral("\treturn $str;") << QStringLiteral("}")
            << QStringLiteral("function qv($s) { return empty($_GET[$s]) || !is_string($_GET[$s]) ? \"\" : "
                              "UndoMagicGPC($_GET[$s]); }")
            << QStringLiteral("?>");
    }
    QString text;
    for (const QString& line : lines)
        text += line + CrLf;
    return text;
}

QString UnsubscribeBanner(const IPageContext& context)
{
    const IPageNewsletter* current = context.GetCurrentNewsletter();
    ndb::CNdbFieldValue value;
    const QString siteType = current ? current->GetSenderText(SenderSiteTypeField) : QString();
    const QString raw = current && current->GetSenderField(SenderUnsubscribeTextField, value)
                            ? value.GetString()
                            : context.GetUnsubscribeText();
    QString text = EncodeHtmlEntities(raw);
    text.remove(QLatin1Char('\r'));
    text.replace(QLatin1Char('\n'), QLatin1String("<br />"));
    // The text stands inside a double-quoted script string.
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    const QString div = QStringLiteral("<div style=\\\"background-color:#d0d0d0;border:solid 1px "
                                       "#808080;padding:10px;margin:10px;\\\" class=\\\"normal\\\">");
    if (siteType == Asp)
        return QLatin1String("<%if(Request(\"unsub\") + \"\" == \"true\") { Response.Write(\"") + div + text +
               QLatin1String("</div>\\r\\n\"); }%>");
    if (siteType == Php)
    {
        text.replace(QLatin1Char('$'), QLatin1String("\\$"));
        return QLatin1String(
                   "<?php if(!empty($_REQUEST[\"unsub\"]) && $_REQUEST[\"unsub\"] . \"\" == \"true\") { "
                   "print(\"") +
               div + text + QLatin1String("</div>\\r\\n\"); } ?>");
    }
    return QString();
}

void ReplaceMergeFields(CX2Element* root, NewsletterPageKind kind, const QString& siteType,
                        MergeFieldSet* usedMergeFields)
{
    ForEachNode(root,
                [&](CX2Element* node)
                {
                    if (!IsTagNamed(node, QStringLiteral("span")))
                        return;
                    const QString name = node->GetAttributeValue(QStringLiteral("name"));
                    if (!name.startsWith(QLatin1String("fc_")))
                        return;
                    const int code = ParseIntText(name.mid(3));
                    if (usedMergeFields)
                        (*usedMergeFields)[code] = true;
                    QString text;
                    // The recipient's values come from the query and are escaped before they reach the page.
                    if (kind == WebView && IsSiteType(siteType, Asp))
                        text = QStringLiteral("<%=Server.HTMLEncode(qv(\"fc_%1\"))%>").arg(code);
                    else if (kind == WebView && IsSiteType(siteType, Php))
                        text = QStringLiteral(
                                   "<?php print(htmlspecialchars(qv(\"fc_%1\"), ENT_QUOTES, \"UTF-8\")); ?>")
                                   .arg(code);
                    else if (kind != WebView)
                        text = QLatin1String("[[[") + name + QLatin1String("]]]");
                    MakeEmptyText(node);
                    node->SetText(text);
                });
}

void ApplyLinkActions(CX2Element* root, NewsletterPageKind kind, const IPageContext& context,
                      const IPageNewsletter& newsletter, const LinkTrackerMap* linkTrackers)
{
    const QString siteType = newsletter.GetSenderText(SenderSiteTypeField);
    const bool mail = kind == MailEmbedded || kind == MailLinked;
    const bool mailTracking =
        newsletter.GetSenderBool(SenderDynamicServicesField) && newsletter.GetSenderBool(SenderTrackingField);
    const bool webView = newsletter.GetSenderBool(SenderWebViewField);
    const bool dynamicList = newsletter.GetSenderBool(SenderDynamicListField);
    const IPageNewsletter* current = context.GetCurrentNewsletter();
    const QString senderMailto =
        QLatin1String("mailto:") + (current ? current->GetSenderText(SenderEmailField) : QString());
    const QString siteRoot = GetSiteRootAddress(newsletter);

    ForEachNode(root,
                [&](CX2Element* node)
                {
                    if (!IsTagNamed(node, QStringLiteral("a")))
                        return;
                    CX2Attribute* href = node->FindAttribute(QStringLiteral("href"));
                    if (!href)
                        return;
                    const QString action = GetNameMetadataText(
                        node->GetAttributeValue(QStringLiteral("name")), QStringLiteral("src_action_type"));
                    const QString target = href->GetValue();

                    if ((action == QLatin1String("ext") || (action.isEmpty() && !target.isEmpty())) &&
                        linkTrackers && (kind == WebView || kind == MailLinked || mailTracking))
                    {
                        const auto tracker = linkTrackers->find(target);
                        if (tracker == linkTrackers->end())
                            return;
                        node->SetAttribute(QStringLiteral("title"), target);
                        const QString recipient = RecipientToken(kind, siteType);
                        // "&amp;": the page is XHTML, where a bare "&" breaks the document.
                        if (siteType == Asp)
                            href->SetValue(siteRoot + QLatin1String("admin/v.asp?u=") + recipient +
                                           QLatin1String("&amp;t=") + tracker->second);
                        else if (siteType == Php)
                            href->SetValue(siteRoot + QLatin1String("admin/v.php?u=") + recipient +
                                           QLatin1String("&amp;t=") + tracker->second);
                        else
                            MakeEmptyText(node);
                        return;
                    }
                    if (action == QLatin1String("webview"))
                    {
                        if (mail && webView)
                            href->SetValue(QStringLiteral("[[[WEBVIEWURL]]]"));
                        else
                            MakeEmptyText(node);
                        return;
                    }
                    if (action == QLatin1String("unsubscribe"))
                    {
                        if (target.toLower().contains(QLatin1String("mailto:")))
                            href->SetValue(senderMailto);
                        else if (mail && dynamicList && webView)
                            href->SetValue(QStringLiteral("[[[UNSUBSCRIBEURL]]]"));
                        else
                            href->SetValue(senderMailto);
                    }
                });
}

QString OpenTrackingImage(const IPageNewsletter& newsletter)
{
    if (!newsletter.GetSenderBool(SenderDynamicServicesField) ||
        !newsletter.GetSenderBool(SenderTrackingField))
        return QString();
    const QString siteType = newsletter.GetSenderText(SenderSiteTypeField);
    if (siteType != Asp && siteType != Php)
        return QString();
    const QString address =
        QStringLiteral("%1admin/i.%2?c=%3&u=[[[USEREMAIL]]]")
            .arg(GetSiteRootAddress(newsletter), siteType, newsletter.GetNewsletterText(NewsletterIdField));
    return QStringLiteral("<img src=\"%1\" height=\"2\" width=\"3\" style=\"border:none;\" alt=\"\" />")
        .arg(EncodeHtmlEntities(address));
}
