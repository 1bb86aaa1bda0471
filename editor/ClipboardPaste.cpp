#include "editor/ClipboardPaste.h"

#include "base/AnsiCodePage.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/UndoUnitScope.h"
#include "x2/PasteCleanup.h"
#include "x2/X2Validator.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace
{
// A paste is one user action on outside data: beyond this many characters it is refused.
constexpr qsizetype MaxPasteLength = 8 * 1024 * 1024;
// The header of "HTML Format" lies in its first bytes.
constexpr qsizetype HeaderBytes = 1000;

const QString HtmlFormat = QStringLiteral("HTML Format");
// Where a browser on this desktop leaves the address of the page it copied from.
const QString SourceUrlFormat = QStringLiteral("text/x-moz-url-priv");

const QMimeData* Clipboard()
{
    return QApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

QString SourceAddress(const QMimeData& data)
{
    if (data.hasFormat(HtmlFormat))
        return FindHeaderValue(AnsiCodePage::ToText(data.data(HtmlFormat).left(HeaderBytes)),
                               QStringLiteral("SourceURL:"));
    if (!data.hasFormat(SourceUrlFormat))
        return QString();
    const QByteArray bytes = data.data(SourceUrlFormat).left(HeaderBytes);
    // Written as UTF-16 by some browsers, as UTF-8 by others.
    const QString text =
        bytes.contains('\0')
            ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2)
            : QString::fromUtf8(bytes);
    return text.section(QLatin1Char('\n'), 0, 0).remove(QChar(0)).trimmed();
}

// The pasted part of the clipboard's HTML: between the fragment marks a copy leaves, else the
// body's content, else all of it.
QString FragmentOf(const QString& html)
{
    static const QRegularExpression marked(
        QStringLiteral("<!--\\s*StartFragment\\s*-->(.*)<!--\\s*EndFragment\\s*-->"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression body(QStringLiteral("<body[^>]*>(.*)(</body>|$)"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatch match = marked.match(html);
    if (match.hasMatch())
        return match.captured(1);
    match = body.match(html);
    return match.hasMatch() ? match.captured(1) : html;
}

QString ClipboardText(const QMimeData& data)
{
    if (data.hasText())
        return data.text();
    return data.hasHtml() ? QTextDocumentFragment::fromHtml(FragmentOf(data.html())).toPlainText()
                          : QString();
}

bool InsertAsUnit(CIEBrowser& browser, const QString& title, const QString& html)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!browser.GetDHtmlDocument(document))
        return false;
    CUndoUnitScope scope(*document, title);
    return CIEBrowser::InsertHtml(browser, html);
}
} // namespace

QString FindHeaderValue(const QString& text, const QString& key)
{
    const qsizetype found = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (found < 0 || key.isEmpty())
        return QString();
    const qsizetype start = found + key.size();
    qsizetype end = text.size();
    for (const QChar stop : {QChar(u'\r'), QChar(u'\n')})
    {
        const qsizetype at = text.indexOf(stop, start);
        if (at >= 0)
            end = std::min(end, at);
    }
    return text.mid(start, end - start).trimmed();
}

QString GetClipboardSourceBase()
{
    const QMimeData* data = Clipboard();
    if (!data)
        return QString();
    const QString address = SourceAddress(*data);
    const qsizetype last =
        QString(address).replace(QLatin1Char('\\'), QLatin1Char('/')).lastIndexOf(QLatin1Char('/'));
    return last < 0 ? address : address.left(last + 1);
}

QString PlainTextToParagraphs(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
    if (escaped.contains(QLatin1Char('\r')))
        escaped.remove(QLatin1Char('\n')).replace(QLatin1Char('\r'), QLatin1String("</p>\r\n<p>"));
    else
        escaped.replace(QLatin1Char('\n'), QLatin1String("</p><p>"));
    escaped.replace(QLatin1String("<p></p>"), QLatin1String("<p>&nbsp;</p>"));
    return QLatin1String("<p>") + escaped + QLatin1String("</p>\r\n");
}

bool PasteClipboard(CIEBrowser& browser, PasteContext& context)
{
    if (!browser.GetEditFlag())
        return false;
    WaitCursor wait;
    const QMimeData* data = Clipboard();
    if (!data)
        return false;
    const QString pasted = data->hasHtml() ? data->html() : data->text();
    if (pasted.size() > MaxPasteLength)
        return false;
    const QString html = data->hasHtml() ? FragmentOf(pasted) : PlainTextToParagraphs(pasted);
    if (html.trimmed().isEmpty() || pasted.isEmpty())
        return false;
    const QString base = GetClipboardSourceBase();
    CX2Validator document;
    document.ParseHtml(html);
    CleanPastedHtml(base, document, context);
    QString cleaned;
    document.WriteHtml(cleaned);
    return InsertAsUnit(browser, QStringLiteral("Edit Paste"), cleaned);
}

bool PasteClipboardAsText(CIEBrowser& browser)
{
    if (!browser.GetEditFlag())
        return false;
    WaitCursor wait;
    const QMimeData* data = Clipboard();
    if (!data)
        return false;
    const QString text = ClipboardText(*data);
    if (text.isEmpty() || text.size() > MaxPasteLength)
        return false;
    return InsertAsUnit(browser, QStringLiteral("Edit Paste as text"), PlainTextToParagraphs(text));
}
