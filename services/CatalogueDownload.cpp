#include "services/CatalogueDownload.h"

#include "base/INetFile.h"
#include "services/TemplateCatalogue.h"
#include "services/WebAddress.h"

#include <QCryptographicHash>
#include <QTemporaryFile>

namespace
{
bool MatchesCatalogue(const QByteArray& bytes, const CConceptTemplateFile& file)
{
    if (file.GetSize() > 0 && bytes.size() != file.GetSize())
        return false;
    const QString checksum = file.GetChecksum().trimmed();
    return checksum.isEmpty() ||
           checksum.compare(
               QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex()),
               Qt::CaseInsensitive) == 0;
}
} // namespace

CatalogueDownload DownloadCatalogueFile(CConceptTemplateFile& file, int catalogueKind, qint64 maxSize,
                                        QTemporaryFile& into)
{
    if (!FetchCatalogueFileInfo(file, catalogueKind))
        return CatalogueDownload::NoFileInformation;
    CWebAddress target;
    if (!CWebAddress::Crack(file.GetDownloadUrl(), target))
        return CatalogueDownload::BadAddress;
    CINetFile request;
    request.SetMaxBodySize(maxSize);
    if (!request.SendRequest(target.GetHost(), target.GetPathWithQuery(), QString(), target.GetPort(),
                             target.IsSecure()))
        return CatalogueDownload::Failed;
    request.ReadResponse();
    const QByteArray body = request.GetBody();
    request.Close();

    if (!into.open() || into.write(body) != body.size() || !into.flush())
        return CatalogueDownload::NotWritable;
    into.close();
    return MatchesCatalogue(body, file) ? CatalogueDownload::Done : CatalogueDownload::Mismatch;
}
