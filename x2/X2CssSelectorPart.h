#pragma once

#include <QString>

// One blank-separated part of a selector; any of the fields may be empty.
struct CX2CssSelectorPart
{
    QString element;
    QString className;
    QString id;
};
