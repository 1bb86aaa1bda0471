#pragma once

#include "platform/ui/Wnd.h"

#include <QIcon>

// A static control: text, an icon (SS_ICON) or an etched horizontal line (SS_ETCHEDHORZ). With
// SS_NOTIFY a click with the left button sends STN_CLICKED to the parent.
class CStatic : public CWnd
{
public:
    void SetIcon(const QIcon& icon);
    // The colour of the text from now on.
    void SetTextColor(const QColor& color);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
};
