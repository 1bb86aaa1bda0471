#include "mailui/SenderSettingsImport.h"

#include "base/AppSettings.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/WinApp.h"

#include <QFileInfo>

namespace
{
const QString FolderSetting = QStringLiteral("SavePath_ImportSender");
}

bool ImportSenderSettings(CWnd* parent, const SenderImportTexts& texts,
                          const std::function<void(const ndb::CNdbSender&)>& copy)
{
    CFileDialog dialog(true, QString(), GetSettingFolder(FolderSetting), OFN_EXPLORER | OFN_ENABLESIZING,
                       LoadAppString(texts.fileKind) + QStringLiteral(" (*.kvnl)|*.kvnl||"), parent);
    if (dialog.DoModal() != IDOK)
        return false;
    const QString path = dialog.GetPathName();
    ndb::CNdbNewsletter source;
    if (!source.Load(path))
    {
        AfxMessageBox(LoadAppString(texts.openFailed), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const QString question =
        LoadAppString(texts.confirm).replace(QStringLiteral("%s"), source.GetString(ndb::NewsletterName));
    if (AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return false;
    // The setting names a folder: the next choice starts where this one was made.
    WriteAppSettingString(HKEY_CURRENT_USER, FolderSetting, QFileInfo(path).absolutePath() + u'/');
    copy(source.Sender());
    AfxMessageBox(LoadAppString(texts.done), MB_OK | MB_ICONINFORMATION);
    return true;
}
