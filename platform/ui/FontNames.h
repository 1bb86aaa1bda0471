#pragma once

// The font-name mapping needs only Qt Gui, so the image renderer shares it; it lives there.
#include "platform/gui/FontNames.h"
