#include "platform/ui/SystemMessageBox.h"

#include "platform/ui/Wnd.h"

#include <QMessageBox>

namespace
{
constexpr UINT ButtonMask = 0x0F;
constexpr UINT IconMask = 0xF0;

QMessageBox::Icon IconOf(UINT type)
{
    switch (type & IconMask)
    {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsOf(UINT type)
{
    switch (type & ButtonMask)
    {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int ResultOf(int button)
{
    switch (button)
    {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}
} // namespace

int MessageBox(CWnd* owner, const QString& text, const QString& caption, UINT type)
{
    QWidget* parent = owner ? owner->GetSafeHwnd() : nullptr;
    QMessageBox box(IconOf(type), caption, text, ButtonsOf(type), parent ? parent->window() : nullptr);
    return ResultOf(box.exec());
}
