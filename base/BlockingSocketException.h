#pragma once

#include <QString>

// The failure of a socket operation, thrown as a pointer to a new object; whoever catches it
// deletes it.
class CBlockingSocketException
{
public:
    // Takes the error code from errno, as left by the failed call.
    explicit CBlockingSocketException(const QString& operation);
    CBlockingSocketException(const QString& operation, int errorCode);

    int GetErrorCode() const { return m_errorCode; }
    QString GetOperation() const { return m_operation; }

private:
    int m_errorCode{0};
    QString m_operation;
};
