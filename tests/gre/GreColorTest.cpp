#include "GreTestSupport.h"

#include "gre/GreColor.h"

using gre::CGreColor;
using namespace GreTest;

TEST(GreColor, DefaultIsOpaqueBlackWithoutName)
{
    const CGreColor colour;
    EXPECT_EQ(colour.GetValue(), 0xFF000000u);
    EXPECT_TRUE(colour.GetName().isEmpty());
}

TEST(GreColor, IsArchivedAsRedGreenBlueAlphaThenName)
{
    CGreColor colour(16, 32, 48, 255);
    EXPECT_EQ(colour.GetValue(), 0xFF102030u);
    colour.SetName(QStringLiteral("Überschrift"));
    const QByteArray bytes = Save(colour);
    EXPECT_EQ(bytes, QByteArray("\x10\x20\x30\xFF", 4) + Text("\xC3\x9C"
                                                              "berschrift"));

    CGreColor read;
    ASSERT_TRUE(Load(bytes, read));
    EXPECT_EQ(read, colour);
}
