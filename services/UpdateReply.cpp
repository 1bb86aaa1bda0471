#include "services/UpdateReply.h"

#include "base/TextHelpers.h"
#include "x2/X2Validator.h"

#include <QDateTime>
#include <QList>

namespace
{
// A whole decimal number above 0.
bool ReadPositive(const QString& text, int& value)
{
    bool whole = false;
    value = text.toInt(&whole);
    return whole && value > 0;
}

bool ReadPackage(CX2Element& element, UpdatePackage& package)
{
    const QString type = element.GetAttributeValue(QStringLiteral("type"));
    if (type != QLatin1String("patch") && type != QLatin1String("files"))
        return false;
    package.files = type == QLatin1String("files");
    package.name = element.GetAttributeValue(QStringLiteral("name"));
    package.description = element.GetAttributeValue(QStringLiteral("description"));
    package.fileUrl = element.GetAttributeValue(QStringLiteral("fileurl"));
    package.md5 = element.GetAttributeValue(QStringLiteral("md5"));
    QDateTime date;
    return ReadPositive(element.GetAttributeValue(QStringLiteral("id")), package.id) &&
           !package.name.isEmpty() && !package.fileUrl.isEmpty() &&
           ReadPositive(element.GetAttributeValue(QStringLiteral("filesize")), package.size) &&
           ParseDateTimeList(date, element.GetAttributeValue(QStringLiteral("date")));
}
} // namespace

namespace UpdateReply
{
Result Read(CX2Validator& reply, std::vector<UpdatePackage>& packages)
{
    CX2Element* updates = reply.GetRoot().FindElementByName(QStringLiteral("kvupdates"));
    if (!updates || updates->GetAttributeValue(QStringLiteral("status")) != QLatin1String("ok"))
        return Invalid;
    QList<CX2Element*> found;
    reply.FindElementsByName(found, QStringLiteral("package"), updates);
    bool any = false;
    for (CX2Element* element : std::as_const(found))
    {
        UpdatePackage package;
        if (!ReadPackage(*element, package))
            return Invalid;
        packages.push_back(package);
        any = true;
        // A patch changes the program: what comes after it is asked for again by the new one.
        if (!package.files)
            break;
    }
    return any ? Packages : NoPackages;
}
} // namespace UpdateReply
