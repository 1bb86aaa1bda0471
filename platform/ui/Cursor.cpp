#include "platform/ui/Cursor.h"

#include "platform/ui/ResourceModule.h"
#include "platform/ui/Wnd.h"

#include <QPixmap>

QCursor LoadCursorResource(const QString& name)
{
    QByteArray bytes;
    QPixmap picture;
    if (!ResourceModule::Load(QStringLiteral("CURSOR"), name, &bytes) || !picture.loadFromData(bytes, "PNG"))
        return QCursor(Qt::ArrowCursor);
    return QCursor(picture, 0, 0);
}

void SetCursor(const QCursor& cursor)
{
    CWnd* capture = CWnd::GetCapture();
    if (capture && capture->GetSafeHwnd())
        capture->GetSafeHwnd()->grabMouse(cursor);
}
