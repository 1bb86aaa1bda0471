#include "effects/BackgroundImageToolsInstall.h"

#include "dialogs/BackgroundImageTools.h"
#include "effects/DlgPipelineProperties.h"
#include "effects/ImageResources.h"

void InstallBackgroundImageTools()
{
    BackgroundImageTools tools;
    tools.chooseImage = [](const QString& folder, std::unique_ptr<ndb::CNdbResource>& image, CWnd* parent)
    { return ChooseImageFile(folder, image, parent); };
    tools.editEffect = [](IDialogContext* context, const QString& effect, const ndb::CNdbResource& image,
                          CWnd* parent, QString& key)
    {
        CDlgPipelineProperties dialog(context, effect, image, parent);
        if (dialog.DoModal() != IDOK)
            return false;
        key = dialog.GetResultKey();
        return true;
    };
    SetBackgroundImageTools(std::move(tools));
}
