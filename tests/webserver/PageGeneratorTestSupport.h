#pragma once

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// Compares the text with the golden file of that name in the test data; with KV_UPDATE_GOLDEN
// set in the environment the file is written instead.
inline void ExpectMatchesGolden(const QString& text, const QString& name)
{
    const QString path = QStringLiteral(KV_TEST_DATA_DIR "/") + name;
    if (qEnvironmentVariableIsSet("KV_UPDATE_GOLDEN"))
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        return;
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(in.readAll()).toStdString()) << name.toStdString();
}
