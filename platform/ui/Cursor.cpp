#include "platform/ui/Cursor.h"

#include "platform/ui/ResourceModule.h"

#include <QPixmap>

QCursor LoadCursorResource(const QString& name)
{
    QByteArray bytes;
    QPixmap picture;
    if (!ResourceModule::Load(QStringLiteral("CURSOR"), name, &bytes) || !picture.loadFromData(bytes, "PNG"))
        return QCursor(Qt::ArrowCursor);
    return QCursor(picture, 0, 0);
}
