#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>

// The recipient fields the Insert > Field items put into a layout: command id, field code of the
// recipient record and the string of the field's display text.
struct MergeField
{
    UINT command;
    int fieldCode;
    UINT labelStringId;
};

// The field of a command; null when the command inserts no field.
const MergeField* FindMergeField(UINT command);
// '<span name="fc_<code>" atomicselection="true">label</span>' with the label escaped for HTML.
QString MergeFieldSpan(int fieldCode, const QString& label);
