#include "effects/ImageResources.h"

#include "base/AppSettings.h"
#include "dialogs/DlgImageImportOptions.h"
#include "gre/GreLayerImage.h"
#include "ndb/NdbImageResource.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/WinConstants.h"

#include <QFileInfo>

namespace
{
constexpr quint32 AllFilesText = 11409;
constexpr quint32 ImageFilesText = 15400;
constexpr quint32 SourceLayerName = 15401;
const QString FolderSetting = QStringLiteral("SavePath_InsertImage");
// No limit on an axis that keeps its own size.
constexpr int Unlimited = 65000;
constexpr int ResizeCropPlacement = 14;

QString FilterText(int flags)
{
    if (flags & ChooseImagesOnly)
        return ImageFileFilter(ImageFilesText);
    // A Linux file name needs no dot: "*" offers every file the label promises.
    return LoadAppString(AllFilesText) + QStringLiteral(" (*.*)|*||");
}

// What the next dialog opens on: the one chosen file, or the folder of several.
QString RememberedPlace(const QStringList& paths)
{
    return paths.size() == 1 ? paths.constFirst() : QFileInfo(paths.constFirst()).absolutePath();
}

// The page's own background colour, so that what the fitted image does not cover blends in.
gre::CGreColor PageBackground(const ndb::CNdbNewsletter& newsletter)
{
    gre::CGreColor background;
    background.SetValue(0xFFFFFFFF);
    ndb::CNdbFieldValue value;
    const ndb::CNdbColor* color = newsletter.Layout().PageStyle().GetField(ndb::StyleBackgroundColor, value)
                                      ? value.GetColor()
                                      : nullptr;
    if (!color)
        return background;
    if (color->GetKind() == ndb::NdbColorFixed)
        background =
            gre::CGreColor(color->GetRgba().red, color->GetRgba().green, color->GetRgba().blue, 0xFF);
    else if (color->GetKind() == ndb::NdbColorPalette)
        background.SetName(color->GetKey());
    return background;
}

QSize ImageSizeOf(const ndb::CNdbResource& resource)
{
    return QSize(resource.GetInt(ndb::ResourceWidth, 0), resource.GetInt(ndb::ResourceHeight, 0));
}
} // namespace

QString ImageFileFilter(quint32 descriptionId)
{
    return LoadAppString(descriptionId) +
           QStringLiteral(" (*.gif;*.jpg;*.jpeg;*.png)|*.gif; *.jpg; *.jpeg; *.png||");
}

int ChooseImageFiles(const QString& folder, ResourceList& resources, int flags, CWnd* parent)
{
    QString start = folder;
    if (start.isEmpty())
        ReadAppSettingString(HKEY_CURRENT_USER, FolderSetting, start);
    DWORD dialogFlags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (!(flags & ChooseOneFile))
        dialogFlags |= OFN_ALLOWMULTISELECT;
    CFileDialog dialog(true, QString(), start, dialogFlags, FilterText(flags), parent);
    if (dialog.DoModal() != IDOK)
        return ImageResourceCancelled;
    const QStringList paths = dialog.GetPathNames();
    WriteAppSettingString(HKEY_CURRENT_USER, FolderSetting, RememberedPlace(paths));

    const WaitCursor waitCursor;
    ResourceList loaded;
    for (const QString& path : paths)
    {
        auto resource = ndb::LoadImageResource(path);
        if (!resource)
            return ImageResourceFailed;
        loaded.push_back(std::move(resource));
    }
    for (auto& resource : loaded)
        resources.push_back(std::move(resource));
    return ImageResourceDone;
}

int ChooseImageFile(const QString& folder, std::unique_ptr<ndb::CNdbResource>& resource, CWnd* parent)
{
    ResourceList chosen;
    const int result = ChooseImageFiles(folder, chosen, ChooseImagesOnly | ChooseOneFile, parent);
    if (result == ImageResourceDone)
        resource = std::move(chosen.front());
    return result;
}

std::unique_ptr<gre::CGrePipeline> MakeImportPipeline(const ImageImportOptions& options, QSize imageSize,
                                                      const gre::CGreColor& background)
{
    QSize size(options.fixedWidth, options.fixedHeight);
    const bool fixed = options.widthSetting == CDlgImageImportOptions::FixedSize &&
                       options.heightSetting == CDlgImageImportOptions::FixedSize;
    if (!fixed)
    {
        const int maxWidth = options.widthSetting == CDlgImageImportOptions::ConstrainSize
                                 ? options.constrainWidth
                                 : Unlimited;
        const int maxHeight = options.heightSetting == CDlgImageImportOptions::ConstrainSize
                                  ? options.constrainHeight
                                  : Unlimited;
        const int width = imageSize.width();
        const int height = imageSize.height();
        if ((width <= maxWidth && height <= maxHeight) || width <= 0 || height <= 0)
            return nullptr;
        const float widthRatio = float(maxWidth) / float(width);
        const float heightRatio = float(maxHeight) / float(height);
        size = heightRatio > widthRatio ? QSize(maxWidth, int(float(height) * widthRatio))
                                        : QSize(int(float(width) * heightRatio), maxHeight);
    }
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetSizeMode(gre::SizeModeFixed);
    pipeline->SetSize(size);
    pipeline->SetBackgroundColor(background);
    pipeline->GetRootGroup().AddLayer(MakeSourceLayer(SourceLayerName));
    return pipeline;
}

std::unique_ptr<gre::CGreLayerImage> MakeSourceLayer(quint32 nameId)
{
    auto layer = std::make_unique<gre::CGreLayerImage>();
    layer->SetPlacement(ResizeCropPlacement);
    layer->SetSizeLayer(true);
    layer->SetUseSource(true);
    layer->SetName(LoadAppString(nameId));
    return layer;
}

int ImportImageWithOptions(const ndb::CNdbNewsletter* newsletter, const ResourceList& resources,
                           PipelineList& pipelines, CWnd* parent)
{
    if (resources.empty())
        return ImageResourceDone;
    if (!newsletter)
        return ImageResourceFailed;
    CDlgImageImportOptions dialog(parent);
    if (dialog.DoModal() != IDOK)
        return ImageResourceCancelled;
    const ImageImportOptions options{dialog.m_widthSetting,   dialog.m_heightSetting,
                                     dialog.m_constrainWidth, dialog.m_constrainHeight,
                                     dialog.m_fixedWidth,     dialog.m_fixedHeight};
    const gre::CGreColor background = PageBackground(*newsletter);
    const WaitCursor waitCursor;
    for (const auto& resource : resources)
        pipelines.push_back(resource ? MakeImportPipeline(options, ImageSizeOf(*resource), background)
                                     : nullptr);
    return ImageResourceDone;
}
