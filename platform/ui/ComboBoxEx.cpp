#include "platform/ui/ComboBoxEx.h"

#include "platform/ui/ImageList.h"

#include <QComboBox>
#include <QPixmap>

int CComboBoxEx::InsertItem(int index, const QString& text, int image, UINT_PTR data)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo)
        return CB_ERR;
    const int at = index < 0 || index > combo->count() ? combo->count() : index;
    QIcon icon;
    if (m_images && image >= 0 && image < m_images->GetImageCount())
    {
        icon = QIcon(QPixmap::fromImage(m_images->GetImage(image)));
        combo->setIconSize(QSize(m_images->GetWidth(), m_images->GetHeight()));
    }
    combo->insertItem(at, icon, text);
    SetItemData(at, data);
    return at;
}
