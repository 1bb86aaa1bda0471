#include "app/MainWindowPlacement.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "platform/ui/WinConstants.h"

#include <QStringList>

#include <algorithm>

namespace
{
const QString NormalRectValue = QStringLiteral("WindowNormalRect");
const QString ShowCommandValue = QStringLiteral("WindowShowCmd");

} // namespace

MainWindowPlacement MainWindowPlacement::Compute(int screenWidth, int screenHeight, bool shiftHeld,
                                                 const std::optional<QString>& normalRect,
                                                 const std::optional<quint32>& showCommand)
{
    MainWindowPlacement placement;
    const int width = std::min(screenWidth, DefaultWidth);
    const int height = std::min(screenHeight, DefaultHeight);
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    placement.rect = CRect(left, top, left + width, top + height);
    if (shiftHeld)
        return placement;
    if (normalRect)
    {
        const QStringList parts = normalRect->split(u',');
        if (parts.size() == 4)
            placement.rect = CRect(ParseIntText(parts[0]), ParseIntText(parts[1]), ParseIntText(parts[2]),
                                   ParseIntText(parts[3]));
    }
    if (showCommand)
        placement.showCommand = int(*showCommand);
    return placement;
}

MainWindowPlacement MainWindowPlacement::Read(int screenWidth, int screenHeight, bool shiftHeld)
{
    const QString key = GetAppRegistryKey();
    std::optional<QString> normalRect;
    QString text;
    if (ReadRegString(HKEY_CURRENT_USER, key, NormalRectValue, text))
        normalRect = text;
    std::optional<quint32> showCommand;
    quint32 number = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, key, ShowCommandValue, number))
        showCommand = number;
    return Compute(screenWidth, screenHeight, shiftHeld, normalRect, showCommand);
}

void MainWindowPlacement::Write(int showCommand, const CRect& normalRect)
{
    WriteAppSettingDword(HKEY_CURRENT_USER, ShowCommandValue, quint32(showCommand));
    WriteAppSettingString(HKEY_CURRENT_USER, NormalRectValue,
                          QStringLiteral("%1,%2,%3,%4")
                              .arg(normalRect.left)
                              .arg(normalRect.top)
                              .arg(normalRect.right)
                              .arg(normalRect.bottom));
}

int MainWindowPlacement::ShowCommandToApply() const
{
    const int command = showCommand.value_or(SW_SHOWNORMAL);
    return command == SW_SHOWMINIMIZED || command == SW_MINIMIZE ? SW_SHOWNORMAL : command;
}
