#pragma once

#include <QByteArray>
#include <QString>

// What the effect gallery needs of the application: the local server's web store, which serves
// its page and pictures, and the server's addresses.
class IEffectLibraryContext
{
public:
    virtual ~IEffectLibraryContext() = default;

    virtual void StoreInWebStore(const QString& name, const QByteArray& bytes,
                                 const QString& contentType) = 0;
    virtual void PutPageInWebStore(const QString& name, const QString& page) = 0;
    virtual QString MakeServerUrl(const QString& path) const = 0;
};
