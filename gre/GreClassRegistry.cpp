#include "gre/GreColor.h"
#include "gre/GreImage.h"

// Every persistable class of the image engine, in one file (see base/PSFactory.h).
KV_REGISTER_PERSISTENT_CLASS(gre::CGreImage, 1, "CGreImage")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreColor, 1, "CGreColor")
