#pragma once

#include <QString>

// The installed family that stands in for a Windows font name; installed names stay as they are.
QString MapWindowsFontFamily(const QString& windowsName);
