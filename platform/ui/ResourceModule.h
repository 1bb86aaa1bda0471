#pragma once

#include "platform/ui/WinTypes.h"

#include <QByteArray>
#include <QString>

// Resources other than strings, read from the module that currently supplies the program's
// resources (a language module when one is loaded, else the built-in resources), without a
// second look elsewhere. They are files below the module's root, found by type and id:
// "BITMAP" images/<id>.bmp, "PNG" images/<id>.png, "DIALOG" dialogs/<id>.json, "MENU" menus/<id>.json,
// "ACCELERATOR" accelerators/<id>.json. Resources with a name rather than an id: "CURSOR"
// cursors/<name>.png.
namespace ResourceModule
{
// True when the module holds the resource (even an empty or unreadable one).
bool Exists(const QString& type, UINT id);
bool Load(const QString& type, UINT id, QByteArray* bytes);
bool Load(const QString& type, const QString& name, QByteArray* bytes);
} // namespace ResourceModule
