#pragma once

#include "mailui/DlgSendStatus.h"

#include <QDir>
#include <QImage>
#include <QPainter>

namespace SendTest
{
// The status panel as drawn, kept as a picture among the test artifacts.
inline void SavePanel(const CDlgSendStatus& dialog, const QString& name)
{
    QImage image(490, 220, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    dialog.DrawStatusPanel(painter);
    painter.end();
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    image.save(QStringLiteral(KV_ARTIFACT_DIR "/send-status-%1.png").arg(name));
}
} // namespace SendTest
