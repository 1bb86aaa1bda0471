#include "services/TemplateLocalisation.h"

#include "base/INetFile.h"
#include "services/QorxInstaller.h"
#include "services/TemplateCatalogue.h"
#include "services/WebAddress.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <QFileInfo>

namespace
{
const QString TokenOpen = QStringLiteral("_(");
const QString TokenClose = QStringLiteral(")_");

QString EscapeReplacement(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'"', QStringLiteral("&quot;"))
        .replace(u'\'', QStringLiteral("&apos;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

bool LoadLocalFile(const QString& path, LocalisationMap& map)
{
    const QFileInfo info(path);
    if (!info.exists() || info.size() == 0)
        return false;
    int codePage = 0;
    QString text;
    if (CQorxInstaller().ReadTextFile(path, codePage, text) != QorxResult::Success)
        return false;
    return ParseLocalisationXml(map, text);
}

bool LoadWebFile(const QString& address, LocalisationMap& map)
{
    CWebAddress target;
    if (!CWebAddress::Crack(address, target))
        return false;
    CINetFile request;
    request.SetMaxBodySize(CQorxInstaller::MaxReplySize);
    if (!request.SendRequest(target.GetHost(), target.GetPathWithQuery(), QString(), target.GetPort(),
                             target.IsSecure()) ||
        request.GetStatusCode() != 200)
        return false;
    request.ReadResponse();
    const QString text = request.GetResponseText();
    request.Close();
    return ParseLocalisationXml(map, text);
}
} // namespace

std::set<QString>& UnknownLocalisationKeys()
{
    static std::set<QString> keys;
    return keys;
}

bool ParseLocalisationXml(LocalisationMap& map, const QString& xml)
{
    try
    {
        CX2Validator document;
        document.Parse(xml, CX2TransformXmlFennick());
        if (!document.GetRoot().FindElementByName(QStringLiteral("zqlocalizationdata")))
            return false;
        QList<CX2Element*> replacements;
        document.FindElementsByName(replacements, QStringLiteral("replace"));
        for (const CX2Element* element : replacements)
        {
            const QString key = element->GetAttributeValue(QStringLiteral("key")).toLower();
            if (key.isEmpty())
                continue;
            map[key] = element->GetChildCount() > 0 ? element->GetChild(0)->GetText() : QString();
        }
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool LoadLocalisationData(const QString& address, LocalisationMap& map)
{
    if (address.startsWith(QLatin1String("file:///")))
        return LoadLocalFile(FileUrlToPath(address).trimmed(), map);
    try
    {
        return LoadWebFile(address, map);
    }
    catch (...)
    {
        return false;
    }
}

QString ExpandLocalisationTokens(const QString& text, const LocalisationMap& map, bool escape)
{
    QString result;
    qsizetype scan = 0;
    for (;;)
    {
        const qsizetype open = text.indexOf(TokenOpen, scan);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(TokenClose, open);
        if (close < 0)
            break;
        result += QStringView(text).mid(scan, open - scan);
        const QString key = text.mid(open + TokenOpen.size(), close - open - TokenOpen.size());
        const auto found = map.find(key.toLower());
        if (found == map.end())
        {
            UnknownLocalisationKeys().insert(key.toLower());
            result += TokenOpen + key + TokenClose;
        }
        else
        {
            result += escape ? EscapeReplacement(found->second) : found->second;
        }
        scan = close + TokenClose.size();
    }
    result += QStringView(text).mid(scan);
    return result;
}
