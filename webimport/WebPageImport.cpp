#include "webimport/WebPageImport.h"

#include "base/INetFile.h"
#include "ndb/NdbColor.h"
#include "ndb/NdbFieldValue.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/IEBrowser.h"
#include "x2/X2CssParser.h"
#include "x2/X2TransformIdentity.h"
#include "x2/X2Validator.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <exception>
#include <functional>
#include <map>

namespace
{
const QString SrcMarker = QStringLiteral("__src");

// Most specific rule first; rules of equal specificity in the order they were read.
using RuleStore = std::multimap<int, CX2StyleSheet*, std::greater<int>>;

// The property ids the rule table gives these properties.
constexpr int FontFamilyProperty = 101;
constexpr int FontSizeProperty = 105;
constexpr int BackgroundColorProperty = 199;
constexpr int ColorProperty = 300;

const QSet<QString>& EventAttributes()
{
    static const QSet<QString> names{
        "onabort",     "onblur",     "onchange", "onclick",  "ondblclick",  "onerror",     "onfocus",
        "onkeydown",   "onkeypress", "onkeyup",  "onload",   "onmousedown", "onmousemove", "onmouseout",
        "onmouseover", "onmouseup",  "onreset",  "onresize", "onselect",    "onsubmit",    "onunload"};
    return names;
}

// The elements the editor knows, and the name each imported element takes.
const QHash<QString, QString>& ImportElementNames()
{
    static const QHash<QString, QString> names = []
    {
        QHash<QString, QString> table;
        for (const char* kept :
             {"link", "html", "head", "meta", "title", "body",   "table", "tr",   "td", "tbody", "thead", "p",
              "div",  "ul",   "ol",   "hr",   "br",    "strong", "em",    "span", "a",  "img",   "li"})
            table.insert(QString::fromLatin1(kept), QString::fromLatin1(kept));
        for (int level = 1; level <= 6; ++level)
            table.insert(QStringLiteral("h%1").arg(level), QStringLiteral("p"));
        table.insert(QStringLiteral("b"), QStringLiteral("strong"));
        table.insert(QStringLiteral("i"), QStringLiteral("em"));
        table.insert(QStringLiteral("center"), QStringLiteral("div"));
        return table;
    }();
    return names;
}

// The page loads in a nested event loop: its owner takes no input meanwhile, so that it cannot
// start a second import inside the first.
class InputBlocked
{
public:
    explicit InputBlocked(CWnd* window)
        : m_window(window && window->IsWindow() && window->IsWindowEnabled() ? window : nullptr)
    {
        if (m_window)
            m_window->EnableWindow(false);
    }
    ~InputBlocked()
    {
        if (m_window && m_window->IsWindow())
            m_window->EnableWindow(true);
    }
    InputBlocked(const InputBlocked&) = delete;
    InputBlocked& operator=(const InputBlocked&) = delete;

private:
    CWnd* m_window;
};

// Downloads of one import share one byte budget.
class Downloader
{
public:
    explicit Downloader(const WebPageImportLimits& limits)
        : m_bytesLeft(limits.maxDownloadBytes), m_deadline(limits.maxDownloadMilliseconds)
    {
    }

    // True with the body of a 200 answer that still fitted into the budget.
    bool Get(const ImportRequest& request, QByteArray& body, QString& contentType)
    {
        if (m_bytesLeft <= 0 || m_deadline.hasExpired())
            return false;
        CINetFile file;
        bool ok = file.SendRequest(request.host, request.objectPath, QString(), request.port) &&
                  file.GetStatusCode() == 200;
        if (ok)
        {
            file.ReadResponse();
            body = file.GetBody();
            contentType = file.GetContentType();
            m_bytesLeft -= body.size();
            ok = m_bytesLeft >= 0;
        }
        file.Close();
        return ok;
    }

    bool GetText(const ImportRequest& request, QString& text)
    {
        QByteArray body;
        QString contentType;
        if (!Get(request, body, contentType))
            return false;
        text = QString::fromUtf8(body);
        return true;
    }

private:
    qsizetype m_bytesLeft;
    QDeadlineTimer m_deadline;
};

void NormalizeImportElements(CX2Element& node)
{
    const int kind = node.GetKind();
    if (kind == CX2Element::Text || kind == CX2Element::Empty)
        return;
    if (kind != CX2Element::Root && kind != CX2Element::Element)
    {
        node.SetKind(CX2Element::Empty);
        return;
    }
    if (kind == CX2Element::Element)
    {
        const auto found = ImportElementNames().constFind(node.GetName());
        if (found == ImportElementNames().constEnd())
        {
            node.SetKind(CX2Element::Empty);
            return;
        }
        if (*found != node.GetName())
        {
            const QString oldName = node.GetName();
            node.SetName(*found);
            if (*found == QLatin1String("p"))
                node.SetAttribute(QStringLiteral("class"), oldName);
        }
    }
    for (int i = 0; i < node.GetChildCount(); ++i)
        NormalizeImportElements(*node.GetChild(i));
}

void RemoveEventAttributes(CX2Element& node)
{
    if (node.GetKind() == CX2Element::Comment)
        node.SetKind(CX2Element::Empty);
    for (int i = node.GetAttributeCount() - 1; i >= 0; --i)
        if (EventAttributes().contains(node.GetAttribute(i)->GetName().toLower()))
            node.DeleteAttributeAt(i);
    for (int i = 0; i < node.GetChildCount(); ++i)
        RemoveEventAttributes(*node.GetChild(i));
}

void AddRules(const QString& css, X2StyleSheetList& owned, RuleStore& store)
{
    X2StyleSheetList rules;
    CX2CssParser().ParseStyleSheet(css, rules);
    for (auto& rule : rules)
    {
        // A rule of an @media block (a dark scheme, a narrow screen) holds only sometimes; made
        // part of every element, or a style of its own, it would hold always.
        if (rule->IsInsideAtRule())
            continue;
        store.emplace(rule->GetSpecificity(), rule.get());
        owned.push_back(std::move(rule));
    }
}

void ImportStyleSheets(CX2Validator& document, const QString& base, Downloader& downloader,
                       X2StyleSheetList& owned, RuleStore& store)
{
    QList<CX2Element*> links;
    document.FindElementsByName(links, QStringLiteral("link"));
    for (CX2Element* link : links)
    {
        const QString href = link->GetAttributeValue(QStringLiteral("href"));
        ImportRequest request;
        QString sheet;
        if (!link->GetAttributeValue(QStringLiteral("type")).contains(QLatin1String("css")) ||
            href.isEmpty() || !ResolveImportUrl(href, base, request) || !downloader.GetText(request, sheet))
            continue;
        // One level of @import is followed: enough for the common "main sheet pulls in a reset".
        const qsizetype open = sheet.indexOf(QLatin1String("url("));
        if (sheet.contains(QLatin1String("@import")) && open >= 0)
        {
            const qsizetype close = sheet.indexOf(u')', open + 4);
            QString reference = sheet.mid(open + 4, close < 0 ? -1 : close - open - 4).trimmed();
            if (reference.size() >= 2 && (reference.startsWith(u'"') || reference.startsWith(u'\'')))
                reference = reference.mid(1, reference.size() - 2);
            ImportRequest imported;
            QString importedText;
            if (ResolveImportUrl(reference, base, imported) && downloader.GetText(imported, importedText))
                sheet.prepend(importedText + u'\n');
        }
        AddRules(sheet, owned, store);
    }
    // Only the content of a style element is CSS; its tags would spoil the first selector.
    QList<CX2Element*> styles;
    document.FindElementsByName(styles, QStringLiteral("style"));
    for (CX2Element* style : styles)
    {
        if (!style->GetAttributeValue(QStringLiteral("type")).contains(QLatin1String("css")))
            continue;
        QString css;
        style->AppendInnerText(css);
        AddRules(css, owned, store);
    }
}

int ParseHexByte(const QString& pair)
{
    bool ok = false;
    const int value = pair.size() == 2 ? pair.toInt(&ok, 16) : 0;
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{2}$"));
    return ok && hex.match(pair).hasMatch() ? value : 255;
}

ndb::CNdbColor ColorFromCss(const QString& value)
{
    const QString text = value.toLower().trimmed();
    if (text.size() == 7 && text.startsWith(u'#'))
        return ndb::CNdbColor(quint8(ParseHexByte(text.mid(1, 2))), quint8(ParseHexByte(text.mid(3, 2))),
                              quint8(ParseHexByte(text.mid(5, 2))));
    return ndb::CNdbColor(128, 128, 128);
}

void CssRulesToStyles(const RuleStore& store, WebPageImportResult& result)
{
    static const QSet<QString> elementStyles{"p", "h1", "h2", "h3", "h4", "h5", "h6"};
    for (const auto& [specificity, rule] : store)
    {
        if (rule->GetSelectorPartCount() != 1)
            continue;
        QString name;
        bool elementStyle = false;
        if (specificity == 1 && elementStyles.contains(rule->GetSelectorElement(0)))
        {
            name = rule->GetSelectorElement(0);
            elementStyle = true;
        }
        else if (specificity == 256 && !rule->GetSelectorClass(0).isEmpty())
            name = rule->GetSelectorClass(0);
        else
            continue;
        auto style = std::make_unique<ndb::CNdbStyle>();
        style->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(name));
        style->SetField(ndb::StyleElementFlag, ndb::CNdbFieldValue(ndb::NdbValueBool, elementStyle ? 1 : 0));
        QString value;
        if (rule->GetPropertyValue(FontFamilyProperty, value))
            style->SetField(ndb::StyleFontFamily, ndb::CNdbFieldValue(value));
        static const QRegularExpression number(QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)"));
        if (rule->GetPropertyValue(FontSizeProperty, value))
        {
            // The editor's sizes are points; the page's number is kept whatever its unit was.
            const QRegularExpressionMatch match = number.match(value);
            if (match.hasMatch())
                style->SetField(ndb::StyleFontSize,
                                ndb::CNdbFieldValue(match.captured(1).toFloat(), ndb::NdbUnitPt));
        }
        if (rule->GetPropertyValue(BackgroundColorProperty, value))
            style->SetField(ndb::StyleBackgroundColor, ndb::CNdbFieldValue(ColorFromCss(value)));
        if (rule->GetPropertyValue(ColorProperty, value))
            style->SetField(ndb::StyleColor, ndb::CNdbFieldValue(ColorFromCss(value)));
        result.styles.push_back(std::move(style));
    }
}

bool IsElement(const CX2Element* node)
{
    return node->GetKind() == CX2Element::Element;
}

CX2Element* FindElementById(CX2Element& node, const QString& id)
{
    for (int i = 0; i < node.GetChildCount(); ++i)
    {
        CX2Element* child = node.GetChild(i);
        if (IsElement(child) &&
            child->GetAttributeValue(QStringLiteral("id")).compare(id, Qt::CaseInsensitive) == 0)
            return child;
        if (CX2Element* found = FindElementById(*child, id))
            return found;
    }
    return nullptr;
}

void CollectSelectorMatches(CX2Element& node, const QString& element, const QString& className,
                            QList<CX2Element*>& matches)
{
    for (int i = 0; i < node.GetChildCount(); ++i)
    {
        CX2Element* child = node.GetChild(i);
        if (IsElement(child) && (element.isEmpty() || child->GetName() == element) &&
            (className.isEmpty() || child->GetAttributeValue(QStringLiteral("class")).toLower() == className))
            matches.append(child);
        else
            CollectSelectorMatches(*child, element, className, matches);
    }
}

// The elements a descendant selector reaches; an empty list as soon as one part matches nothing.
QList<CX2Element*> MatchSelector(CX2Element& root, const CX2StyleSheet& rule)
{
    QList<CX2Element*> matched{&root};
    for (int part = 0; part < rule.GetSelectorPartCount() && !matched.isEmpty(); ++part)
    {
        QList<CX2Element*> next;
        const QString id = rule.GetSelectorId(part);
        for (CX2Element* scope : matched)
        {
            if (id.isEmpty())
                CollectSelectorMatches(*scope, rule.GetSelectorElement(part), rule.GetSelectorClass(part),
                                       next);
            else if (CX2Element* found = FindElementById(*scope, id); found && !next.contains(found))
                next.append(found);
        }
        matched = next;
    }
    return rule.GetSelectorPartCount() == 0 ? QList<CX2Element*>() : matched;
}

bool HasDeclaration(const CX2StyleSheet& rule, const CX2CssDeclaration& declaration)
{
    for (int i = 0; i < rule.GetDeclarationCount(); ++i)
    {
        const CX2CssDeclaration own = rule.GetDeclaration(i);
        if (declaration.id != 0 ? own.id == declaration.id : own.id == 0 && own.name == declaration.name)
            return true;
    }
    return false;
}

void InlineCssRules(CX2Validator& document, const RuleStore& store)
{
    const CX2CssParser parser;
    for (const auto& entry : store)
    {
        const CX2StyleSheet& rule = *entry.second;
        for (CX2Element* element : MatchSelector(document.GetRoot(), rule))
        {
            CX2StyleSheet own;
            parser.ParseDeclarations(element->GetAttributeValue(QStringLiteral("style")), own);
            for (int i = 0; i < rule.GetDeclarationCount(); ++i)
                if (!HasDeclaration(own, rule.GetDeclaration(i)))
                    own.SetDeclaration(rule.GetDeclaration(i));
            const QString text = own.FormatDeclarations(true);
            if (!text.isEmpty())
                element->SetAttribute(QStringLiteral("style"), text);
        }
    }
}

QString BackgroundReference(const CX2Element& element)
{
    const QString style = element.GetAttributeValue(QStringLiteral("style"));
    const QString lower = style.toLower();
    const qsizetype property = lower.indexOf(QLatin1String("background-image:"));
    const qsizetype open = property < 0 ? -1 : lower.indexOf(QLatin1String("url("), property);
    const qsizetype close = open < 0 ? -1 : lower.indexOf(u')', open);
    if (close < 0)
        return QString();
    QString reference = style.mid(open + 4, close - open - 4).trimmed();
    if (reference.size() >= 2 && (reference.startsWith(u'"') || reference.startsWith(u'\'')))
        reference = reference.mid(1, reference.size() - 2);
    return reference;
}

// An image's own source wins over a background in its style: the element holds one resource.
void CollectImageElements(CX2Element& node, QList<CX2Element*>& list)
{
    if (IsElement(&node))
    {
        QString reference;
        if (node.GetName() == QLatin1String("img"))
            reference = node.GetAttributeValue(QStringLiteral("src"));
        if (reference.isEmpty())
            reference = BackgroundReference(node);
        if (!reference.isEmpty())
        {
            node.SetAttribute(SrcMarker, reference);
            list.append(&node);
        }
    }
    for (int i = 0; i < node.GetChildCount(); ++i)
        if (node.GetChild(i)->GetKind() != CX2Element::Empty)
            CollectImageElements(*node.GetChild(i), list);
}

void ImportImages(const QList<CX2Element*>& list, const QString& base, const WebPageImportLimits& limits,
                  Downloader& downloader, WebPageImportResult& result)
{
    // One resource per address: a logo used five times is downloaded and embedded once.
    QHash<QString, const ndb::CNdbResource*> fetched;
    int fetchesLeft = limits.maxImages;
    for (CX2Element* element : list)
    {
        const QString reference = element->GetAttributeValue(SrcMarker);
        element->RemoveAttribute(element->FindAttribute(SrcMarker));
        ImportRequest request;
        if (!ResolveImportUrl(reference, base, request))
            continue;
        const QString key =
            QStringLiteral("%1:%2%3").arg(request.host).arg(request.port).arg(request.objectPath);
        const ndb::CNdbResource* resource = fetched.value(key);
        if (!resource && !fetched.contains(key) && fetchesLeft-- > 0)
        {
            QByteArray body;
            QString contentType;
            if (downloader.Get(request, body, contentType))
            {
                auto made = std::make_unique<ndb::CNdbResource>();
                made->SetPayload(body);
                made->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(contentType));
                made->SetField(ndb::ResourceSize, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(body.size())));
                QString path = reference;
                if (path.startsWith(u'/'))
                    path.remove(0, 1);
                made->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(path));
                QString slashed = reference;
                slashed.replace(u'\\', u'/');
                const qsizetype slash = slashed.lastIndexOf(u'/');
                made->SetField(ndb::ResourceFileName,
                               ndb::CNdbFieldValue(slash < 0 ? QString() : slashed.mid(slash + 1)));
                resource = made.get();
                result.resources.push_back(std::move(made));
            }
            fetched.insert(key, resource);
        }
        if (resource)
            element->SetAttribute(QStringLiteral("name"),
                                  QStringLiteral("src_ResID:%1;").arg(resource->GetString(ndb::ResourceId)));
    }
}
} // namespace

QString GetUrlBase(const QString& url)
{
    const qsizetype scheme = url.indexOf(QLatin1String("//"));
    if (scheme < 0)
        return QString();
    if (url.endsWith(u'/'))
        return url;
    const qsizetype last = url.lastIndexOf(u'/');
    if (last == scheme + 1)
        return url + u'/';
    if (url.mid(last + 1).contains(u'.'))
        return url.left(last + 1);
    return url + u'/';
}

bool ResolveImportUrl(const QString& reference, const QString& base, ImportRequest& request)
{
    QString address;
    if (reference.contains(QLatin1String("//")))
        address = reference;
    else if (reference.isEmpty() || reference == QLatin1String("/"))
        address = base;
    else if (reference.startsWith(u'/'))
        address = base + reference.mid(1);
    else
        address = base + reference;
    const QUrl url(address, QUrl::StrictMode);
    // The HTTP client speaks plain HTTP only; anything else cannot be fetched.
    if (!url.isValid() || url.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) != 0 ||
        url.host().isEmpty())
        return false;
    request.host = url.host();
    request.port = url.port(80);
    request.objectPath = url.path(QUrl::FullyEncoded);
    if (request.objectPath.isEmpty())
        request.objectPath = QStringLiteral("/");
    if (url.hasQuery())
        request.objectPath += u'?' + url.query(QUrl::FullyEncoded);
    return true;
}

bool ConvertWebPage(const QString& html, const QString& base, WebPageImportResult& result,
                    const WebPageImportLimits& limits)
{
    try
    {
        if (html.size() > limits.maxMarkupLength)
            return false;
        QString text = html;
        text.replace(QChar(0x2018), u'\'').replace(QChar(0x2019), u'\'');
        text.replace(QChar(0x201C), u'"').replace(QChar(0x201D), u'"');
        CX2Validator document;
        document.ParseHtml(text);

        Downloader downloader(limits);
        X2StyleSheetList owned;
        RuleStore store;
        ImportStyleSheets(document, base, downloader, owned, store);
        NormalizeImportElements(document.GetRoot());
        RemoveEventAttributes(document.GetRoot());
        CssRulesToStyles(store, result);
        InlineCssRules(document, store);
        QList<CX2Element*> images;
        CollectImageElements(document.GetRoot(), images);
        ImportImages(images, base, limits, downloader, result);

        CX2Element* body = document.GetRoot().FindElementByName(QStringLiteral("body"));
        if (!body || !IsElement(body))
            return false;
        const CX2TransformIdentity identity;
        for (int i = 0; i < body->GetChildCount(); ++i)
            body->GetChild(i)->Write(result.body, identity);
        return true;
    }
    catch (const std::exception&)
    {
        return true;
    }
}

bool ImportWebPage(CWnd* owner, const QString& url, WebPageImportResult& result,
                   const WebPageImportLimits& limits)
{
    try
    {
        QString markup;
        {
            const InputBlocked blocked(owner);
            if (!LoadPageMarkup(url, markup, limits.loadMilliseconds, limits.maxMarkupLength))
                return false;
        }
        return ConvertWebPage(markup, GetUrlBase(url), result, limits);
    }
    catch (...)
    {
        return false;
    }
}
