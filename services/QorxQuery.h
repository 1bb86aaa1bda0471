#pragma once

#include <QString>

// The address of one query to a framework script: the script address, the administrator's
// credentials, the request type and the command, then the command's own parameters in the
// order they are added. User-supplied values are percent-encoded; numbers are written as they
// are.
class CQorxQuery
{
public:
    CQorxQuery(const QString& scriptAddress, const QString& user, const QString& password,
               const QString& type, const QString& command);

    CQorxQuery& Add(const QString& name, const QString& value);
    CQorxQuery& AddNumber(const QString& name, int value);

    const QString& GetAddress() const { return m_address; }

private:
    QString m_address;
};
