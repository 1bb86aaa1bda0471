#pragma once

#include <QString>

// The CSS properties that rules store under a numeric id; any other property has id 0.
int CssPropertyIdFromName(const QString& name);
// "<unknown>" for an id outside the table.
QString CssPropertyNameFromId(int id);
