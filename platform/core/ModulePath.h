#pragma once

#include <QString>

// The full file name of the running program; empty when the system cannot tell.
QString GetModuleFileName();
