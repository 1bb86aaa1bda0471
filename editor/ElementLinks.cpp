#include "editor/ElementLinks.h"

#include "dialogs/DlgHtmlActionProperties.h"

const char* const BookmarkStyle =
    "font-size:10px;color:#ff0000;background-color:#ffffff;text-transform:uppercase;";

void ReadLinkIntoDialog(const QString& type, const QString& href, CDlgHtmlActionProperties& dialog)
{
    const QString kind = type.toLower();
    if (kind.isEmpty() || kind == QLatin1String("ext"))
        dialog.m_kind = CDlgHtmlActionProperties::KindUrl;
    if (kind == QLatin1String("self") || href.startsWith(u'#'))
        dialog.m_kind = CDlgHtmlActionProperties::KindBookmark;
    if (kind == QLatin1String("webview"))
        dialog.m_kind = CDlgHtmlActionProperties::KindWebView;
    if (kind == QLatin1String("unsubscribe"))
        dialog.m_kind = CDlgHtmlActionProperties::KindUnsubscribe;

    switch (dialog.m_kind)
    {
    case CDlgHtmlActionProperties::KindUrl:
        dialog.m_address = href;
        break;
    case CDlgHtmlActionProperties::KindBookmark:
        if (const qsizetype hash = href.indexOf(u'#'); hash >= 0 && hash + 1 < href.size())
            dialog.m_bookmarkName = href.mid(hash + 1);
        break;
    case CDlgHtmlActionProperties::KindUnsubscribe:
        dialog.m_unsubscribeKind = href.contains(QLatin1String("mailto:"))
                                       ? CDlgHtmlActionProperties::UnsubscribeByEmail
                                       : CDlgHtmlActionProperties::UnsubscribeAutomatic;
        break;
    default:
        break;
    }
}

bool LinkTargetOf(const CDlgHtmlActionProperties& dialog, const QString& fromAddress,
                  const QString& placeholder, LinkTarget& target)
{
    switch (dialog.m_kind)
    {
    case CDlgHtmlActionProperties::KindUrl:
        target = {QStringLiteral("ext"), dialog.m_address};
        return true;
    case CDlgHtmlActionProperties::KindBookmark:
        target = {QStringLiteral("self"), u'#' + dialog.m_bookmarkName};
        return true;
    case CDlgHtmlActionProperties::KindWebView:
        target = {QStringLiteral("webview"), placeholder};
        return true;
    case CDlgHtmlActionProperties::KindUnsubscribe:
        target = {QStringLiteral("unsubscribe"),
                  dialog.m_unsubscribeKind == CDlgHtmlActionProperties::UnsubscribeByEmail
                      ? QStringLiteral("mailto:") + fromAddress
                      : placeholder};
        return true;
    default:
        return false;
    }
}

QString BookmarkContentHtml(const QString& name)
{
    const QString escaped = name.toHtmlEscaped();
    return QStringLiteral("<a name=\"%1\"></a>&laquo;%1&raquo;").arg(escaped);
}

QString BookmarkHtml(const QString& name)
{
    return QStringLiteral(
               "<code name=\"%1\" atomicselection=\"true\" contenteditable=\"false\" class=\"normal\" "
               "style=\"%2\">%3</code>")
        .arg(name.toHtmlEscaped(), QLatin1String(BookmarkStyle), BookmarkContentHtml(name));
}
