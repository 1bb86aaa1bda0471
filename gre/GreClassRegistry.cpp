#include "gre/GreColor.h"
#include "gre/GreEffectBase.h"
#include "gre/GreEffectDropShadow.h"
#include "gre/GreImage.h"
#include "gre/GreLayerBase.h"
#include "gre/GreLayerGroup.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"
#include "gre/GrePipeline.h"
#include "gre/GreProject.h"

// Every persistable class of the image engine, in one file (see base/PSFactory.h).
KV_REGISTER_PERSISTENT_CLASS(gre::CGreImage, 1, "CGreImage")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreColor, 1, "CGreColor")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreLayerBase, 1, "CGreLayerBase")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreLayerImage, 1, "CGreLayerImage")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreLayerText, 1, "CGreLayerText")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreLayerGroup, 1, "CGreLayerGroup")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreEffectBase, 1, "CGreEffectBase")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreEffectDropShadow, 1, "CGreEffectDropShadow")
KV_REGISTER_PERSISTENT_CLASS(gre::CGrePipeline, 1, "CGrePipeline")
KV_REGISTER_PERSISTENT_CLASS(gre::CGreProject, 1, "CGreProject")
