#pragma once

#include <QtGlobal>

// A 128-bit identifier laid out in the four parts that its text form prints in order.
struct GUID
{
    quint32 Data1 = 0;
    quint16 Data2 = 0;
    quint16 Data3 = 0;
    quint8 Data4[8] = {};
};

bool IsNullGuid(const GUID& guid);

// Fills the GUID with a new random identifier; leaves it zeroed and returns false when none
// could be made.
bool CoCreateGuid(GUID& guid);
