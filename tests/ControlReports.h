#pragma once

#include <QString>
#include <QtGlobal>
#include <cstring>
#include <gtest/gtest.h>

// A dialog that misses a control its code needs fails the case that opened it, naming the window
// and the id, instead of going on quietly without the control.
inline void FailOnMissingControls()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text)
        {
            if (type == QtCriticalMsg && context.category &&
                std::strcmp(context.category, "kelvora.ui.controls") == 0)
                ADD_FAILURE() << text.toStdString();
            if (previous)
                previous(type, context, text);
        });
}
