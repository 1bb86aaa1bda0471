#include "mailui/AttachmentFiles.h"

#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/WinConstants.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

using namespace ndb;

namespace
{
constexpr quint32 AllFilesText = 13202;
}

std::unique_ptr<CNdbResource> LoadAttachmentFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return nullptr;
    const QString name = QFileInfo(path).fileName();
    auto resource = std::make_unique<CNdbResource>();
    resource->SetPayload(bytes);
    resource->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("files/") + name));
    resource->SetField(ResourceFileName, CNdbFieldValue(name));
    resource->SetField(ResourceMimeType,
                       CNdbFieldValue(QMimeDatabase().mimeTypeForFileNameAndData(name, bytes).name()));
    resource->SetField(ResourceSize, CNdbFieldValue(NdbValueInt, qint32(bytes.size())));
    resource->SetField(ResourceSource, CNdbFieldValue(path));
    return resource;
}

AttachmentChoice ChooseAttachmentFiles(CWnd* parent, const QString& folder,
                                       std::vector<std::unique_ptr<CNdbResource>>& added)
{
    CFileDialog dialog(true, QString(), folder, OFN_EXPLORER | OFN_ENABLESIZING | OFN_ALLOWMULTISELECT,
                       LoadAppString(AllFilesText) + QStringLiteral(" (*.*)|*||"), parent);
    if (dialog.DoModal() != IDOK)
        return AttachmentChoice::Cancelled;
    std::vector<std::unique_ptr<CNdbResource>> loaded;
    for (const QString& path : dialog.GetPathNames())
    {
        auto resource = LoadAttachmentFile(path);
        if (!resource)
            return AttachmentChoice::Failed;
        loaded.push_back(std::move(resource));
    }
    for (auto& resource : loaded)
        added.push_back(std::move(resource));
    return AttachmentChoice::Added;
}
