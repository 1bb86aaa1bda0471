#include "recipients/DynamicListReply.h"

#include "base/TextHelpers.h"
#include "ndb/NdbUserList.h"
#include "x2/X2Element.h"
#include "x2/X2Validator.h"

#include <memory>

QString BuildDynamicListQuery(const QString& serviceUrl, const QString& user, const QString& password,
                              const QString& listId)
{
    return serviceUrl + QStringLiteral("?adminusername=") + UrlEncodeUtf8(user) +
           QStringLiteral("&adminpassword=") + UrlEncodeUtf8(password) +
           QStringLiteral("&type=list&cmd=getsubscriptionusers&channelgroupid=") + UrlEncodeUtf8(listId);
}

bool ReadDynamicListReply(CX2Validator& reply, ndb::CNdbUserList& users)
{
    QList<CX2Element*> roots;
    reply.FindElementsByName(roots, QStringLiteral("ws_mailinglist_list_getsubscriptionusers"));
    if (roots.isEmpty() || roots.front()->GetAttributeValue(QStringLiteral("status")) != u"ok")
        return false;
    QList<CX2Element*> elements;
    reply.FindElementsByName(elements, QStringLiteral("user"));
    for (const CX2Element* element : elements)
    {
        const QString address = element->GetAttributeValue(QStringLiteral("email"));
        if (address.isEmpty())
            continue;
        auto user = std::make_unique<ndb::CNdbUser>();
        user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
        user->SetField(ndb::UserHtmlMail,
                       ndb::CNdbFieldValue(ndb::NdbValueBool,
                                           element->GetAttributeValue(QStringLiteral("html")) != u"false"));
        user->SetField(ndb::UserEnabled,
                       ndb::CNdbFieldValue(ndb::NdbValueBool, element->GetAttributeValue(
                                                                  QStringLiteral("subscribe")) == u"true"));
        users.AddUser(std::move(user));
    }
    return true;
}
