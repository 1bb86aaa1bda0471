#include "platform/ui/StandardIcons.h"

#include "platform/ui/WinConstants.h"
#include "res/ResourceInit.h"

#include <QApplication>
#include <QFile>
#include <QStyle>

QIcon LoadStandardIcon(int id)
{
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
    if (id == IDI_HAND)
        pixmap = QStyle::SP_MessageBoxCritical;
    else if (id == IDI_QUESTION)
        pixmap = QStyle::SP_MessageBoxQuestion;
    else if (id == IDI_EXCLAMATION)
        pixmap = QStyle::SP_MessageBoxWarning;
    return QApplication::style()->standardIcon(pixmap);
}

QIcon LoadProgramIcon(unsigned int id)
{
    InitKelvoraResources();
    const QString path = QStringLiteral(":/icons/%1.png").arg(id);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}
