#include "webserver/PageSources.h"

QString IPageNewsletter::GetSenderText(int id) const
{
    ndb::CNdbFieldValue value;
    return GetSenderField(id, value) ? value.GetString() : QString();
}

bool IPageNewsletter::GetSenderBool(int id) const
{
    ndb::CNdbFieldValue value;
    return GetSenderField(id, value) && value.GetBool();
}

QString IPageContext::MakeServerUrl(const QString& path) const
{
    QString base = GetServerBaseUrl();
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')))
        base.chop(1);
    return base + path;
}

QString CPageContext::GetServerBaseUrl() const
{
    return QStringLiteral("http://localhost:%1/").arg(m_port);
}
