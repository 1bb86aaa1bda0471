#pragma once

#include "platform/ui/WinTypes.h"

#include <QByteArray>
#include <QString>

// The module that supplies the program's resources: the compiled-in resources (":/") unless a
// language module was installed in their place. Resources are files below its root, found by
// type and id: "BITMAP" images/<id>.bmp, "PNG" images/<id>.png, "DIALOG" dialogs/<id>.json.
namespace ResourceModule
{
void SetRoot(const QString& root);
QString Root();
// True when the module holds the resource (even an empty or unreadable one).
bool Exists(const QString& type, UINT id);
bool Load(const QString& type, UINT id, QByteArray* bytes);
} // namespace ResourceModule
