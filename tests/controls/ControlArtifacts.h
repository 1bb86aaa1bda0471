#pragma once

#include "ControlTestSupport.h"

// Saves a window's picture among the test artefacts, for a person to look at.
inline void SaveControlArtifact(CWnd& wnd, const char* name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    Grab(wnd).save(QStringLiteral(KV_ARTIFACT_DIR "/") + QLatin1String(name));
}
