#pragma once

#include <QString>

// One declaration of a rule. A property outside the table has id 0 and is told apart from the
// others by its name, so that it can be written back where it stood.
struct CX2CssDeclaration
{
    int id{0};
    QString value;
    QString name;
};
