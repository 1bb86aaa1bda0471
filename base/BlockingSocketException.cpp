#include "base/BlockingSocketException.h"

#include <cerrno>

CBlockingSocketException::CBlockingSocketException(const QString& operation)
    : CBlockingSocketException(operation, errno)
{
}

CBlockingSocketException::CBlockingSocketException(const QString& operation, int errorCode)
    : m_errorCode(errorCode), m_operation(operation)
{
}
