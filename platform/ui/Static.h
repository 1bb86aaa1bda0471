#pragma once

#include "platform/ui/Wnd.h"

#include <QIcon>

// A static control: text, an icon (SS_ICON) or an etched horizontal line (SS_ETCHEDHORZ).
class CStatic : public CWnd
{
public:
    void SetIcon(const QIcon& icon);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
};
