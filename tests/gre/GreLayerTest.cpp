#include "GreTestSupport.h"

#include "base/Md5Digest.h"
#include "gre/GreEffectDropShadow.h"
#include "gre/GreLayerGroup.h"
#include "gre/GreLayerImage.h"
#include "gre/GreLayerText.h"

#include <QRegularExpression>

#include <bit>

using namespace gre;
using namespace GreTest;

namespace
{
QString Digest(const CGreLayerBase& layer)
{
    CMd5Digest digest;
    layer.AddToHash(digest);
    digest.Finish();
    return digest.GetDigest();
}

QString DigestOfText(const QByteArray& fed)
{
    return CMd5Digest(fed.constData(), int(fed.size())).GetDigest();
}

// A group holding one of every layer class, the text layer with a drop shadow.
std::unique_ptr<CGreLayerGroup> SampleTree()
{
    auto root = std::make_unique<CGreLayerGroup>();
    root->SetName(QStringLiteral("root"));

    auto image = std::make_unique<CGreLayerImage>();
    image->SetUseSource(false);
    image->SetImageId(QStringLiteral("picture-1"));
    image->SetMargins(QMargins(1, 2, 3, 4));
    image->SetPlacement(7);
    root->AddLayer(std::move(image));

    auto text = std::make_unique<CGreLayerText>();
    text->SetText(QStringLiteral("Grüße"));
    text->SetFontName(QStringLiteral("Arial"));
    text->SetSize(18.5f);
    text->SetBold(true);
    text->SetAlignment(AlignCentre);
    text->SetRotation(0.25f);
    text->SetColor(CGreColor(1, 2, 3, 200));
    auto shadow = std::make_unique<CGreEffectDropShadow>();
    shadow->SetDistance(3);
    text->AddEffect(std::move(shadow));
    root->AddLayer(std::move(text));

    auto inner = std::make_unique<CGreLayerGroup>();
    inner->AddLayer(std::make_unique<CGreLayerBase>());
    inner->SetVisible(false);
    root->AddLayer(std::move(inner));
    return root;
}
} // namespace

TEST(GreLayer, NewLayersHaveTheirDefaultsAndDistinctIds)
{
    const CGreLayerImage image;
    EXPECT_EQ(image.GetKind(), LayerKindImage);
    EXPECT_EQ(image.GetKindCopy(), LayerKindImage);
    EXPECT_EQ(image.GetPlacement(), 2);
    EXPECT_EQ(image.GetOpacity(), 255);
    EXPECT_TRUE(image.IsVisible());
    EXPECT_FALSE(image.IsSizeLayer());
    EXPECT_TRUE(image.IsUseSource());
    EXPECT_EQ(CGreLayerGroup().GetKind(), LayerKindGroup);
    EXPECT_EQ(CGreLayerBase().GetKind(), LayerKindBase);

    const CGreLayerText text;
    EXPECT_EQ(text.GetKind(), LayerKindText);
    EXPECT_EQ(text.GetSize(), 12.0f);
    EXPECT_TRUE(text.IsSmoothing());

    const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9a-f]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    EXPECT_TRUE(form.match(image.GetId()).hasMatch()) << image.GetId().toStdString();
    EXPECT_NE(image.GetId(), text.GetId());
}

TEST(GreLayer, DropShadowHasItsDefaults)
{
    const CGreEffectDropShadow shadow;
    EXPECT_EQ(shadow.GetKind(), EffectKindDropShadow);
    EXPECT_EQ(shadow.GetOrderKey(), -100);
    EXPECT_EQ(shadow.GetBlending(), 0);
    EXPECT_EQ(shadow.GetOpacity(), 255);
    EXPECT_TRUE(shadow.IsEnabled());
    EXPECT_EQ(shadow.GetColor().GetValue(), 0xFF808080u);
    EXPECT_EQ(std::bit_cast<quint32>(shadow.GetAngle()), 0x3F490FDBu);
    EXPECT_EQ(shadow.GetDistance(), 5.0f);
    EXPECT_EQ(shadow.GetSpread(), 5.0f);
    EXPECT_EQ(shadow.GetSize(), 5.0f);
    EXPECT_EQ(CGreEffectBase().GetOrderKey(), 0);
}

// Stored pipeline keys depend on this text byte for byte.
TEST(GreLayer, FeedIsTheTextOfEveryFieldInOrder)
{
    CGreLayerText text;
    text.SetName(QStringLiteral("Title"));
    text.SetRotation(0.5f);
    text.SetMargins(QMargins(1, 2, 3, 4));
    text.SetText(QStringLiteral("Hi"));
    text.SetFontName(QStringLiteral("Tahoma"));
    text.SetItalic(true);
    CGreColor grey(0x80, 0x80, 0x80, 0xFF);
    grey.SetName(QStringLiteral("Dark"));
    text.SetColor(grey);
    auto shadow = std::make_unique<CGreEffectDropShadow>();
    shadow->SetColor(grey);
    text.AddEffect(std::move(shadow));

    const QByteArray layer = "4Title21;2;3;40,50000025504" // kind .. kind copy
                             "01";                         // size layer, visible
    const QByteArray effect = "100-10002551"               // kind, order, blending, opacity, enabled
                              "128128128255Dark"           // red, green, blue, alpha, name
                              "0,7853985,0000005,0000005,000000";
    const QByteArray own = "HiTahoma12,0000000100" // text, font, size, bold .. strikeout
                           "255128128128Dark"      // alpha first
                           "10";                   // smoothing, alignment
    EXPECT_EQ(Digest(text), DigestOfText(layer + effect + own));

    CGreLayerImage image;
    image.SetImageId(QStringLiteral("abc"));
    const QByteArray imageLayer = "320;0;0;00,00000025503" // kind .. kind copy
                                  "01";                    // size layer, visible
    EXPECT_EQ(Digest(image), DigestOfText(imageLayer + "1"));
    image.SetUseSource(false);
    EXPECT_EQ(Digest(image), DigestOfText(imageLayer + "0abc"));
}

TEST(GreLayer, CloneIsDeepAndKeepsIds)
{
    std::unique_ptr<CGreLayerGroup> original = SampleTree();
    auto* text = static_cast<CGreLayerText*>(original->GetLayer(1));
    ASSERT_TRUE(text->GetPicture().Create(4, 3));

    std::unique_ptr<CGreLayerBase> copy = original->Clone();
    auto* group = dynamic_cast<CGreLayerGroup*>(copy.get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(Digest(*group), Digest(*original));
    EXPECT_EQ(group->GetId(), original->GetId());
    auto* copiedText = dynamic_cast<CGreLayerText*>(group->GetLayer(1));
    ASSERT_NE(copiedText, nullptr);
    EXPECT_EQ(copiedText->GetId(), text->GetId());
    EXPECT_EQ(copiedText->GetPicture().GetSize(), QSize(4, 3));

    static_cast<CGreEffectDropShadow*>(copiedText->GetEffect(0))->SetDistance(9);
    copiedText->GetPicture().GetBitmap().fill(0xFFFFFFFF);
    static_cast<CGreLayerGroup*>(group->GetLayer(2))->AddLayer(std::make_unique<CGreLayerImage>());
    EXPECT_NE(Digest(*group), Digest(*original));
    EXPECT_EQ(static_cast<CGreEffectDropShadow*>(text->GetEffect(0))->GetDistance(), 3.0f);
    EXPECT_EQ(text->GetPicture().GetBitmap().pixel(0, 0), 0u);
    EXPECT_EQ(static_cast<CGreLayerGroup*>(original->GetLayer(2))->GetLayerCount(), 1);
}

TEST(GreLayer, ArchiveRoundTripGivesNewIdsAndTheSameFeed)
{
    std::unique_ptr<CGreLayerGroup> original = SampleTree();
    const QByteArray bytes = SaveObject(original.get());
    std::unique_ptr<CGreLayerGroup> read = LoadObject<CGreLayerGroup>(bytes);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Digest(*read), Digest(*original));
    EXPECT_NE(read->GetId(), original->GetId());
    ASSERT_EQ(read->GetLayerCount(), 3);
    EXPECT_NE(dynamic_cast<CGreLayerImage*>(read->GetLayer(0)), nullptr);
    auto* text = dynamic_cast<CGreLayerText*>(read->GetLayer(1));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), QStringLiteral("Grüße"));
    ASSERT_EQ(text->GetEffectCount(), 1);
    EXPECT_EQ(text->GetEffect(0)->GetKind(), EffectKindDropShadow);
    EXPECT_EQ(SaveObject(read.get()), bytes);
}

TEST(GreLayer, TextLayerLayoutPutsTheColourLast)
{
    CGreLayerText text;
    text.SetText(QStringLiteral("A"));
    text.SetColor(CGreColor(1, 2, 3, 4));
    text.AddEffect(std::make_unique<CGreEffectBase>());
    const QByteArray base = Int(4) + Text("") + Int(2) + Int(0) + Int(0) + Int(0) + Int(0) + Int(0) +
                            Int(255) + Int(0) + Int(4) + QByteArray("\x00\x01", 2);
    const QByteArray effects = Int(1) + NewObject(2, 2, "CGreEffectBase") + Int(0) + Int(0) + Int(0) +
                               Int(255) + QByteArray("\x01", 1);
    const QByteArray own = Text("A") + Text("") + Int(0x41400000) + QByteArray(4, '\0') +
                           QByteArray("\x01", 1) + Int(0) + QByteArray("\x01\x02\x03\x04", 4) + Text("");
    EXPECT_EQ(SaveObject(&text), NewObject(1, 1, "CGreLayerText") + base + effects + own);
}

TEST(GreLayer, ImageIdIsArchivedEvenWhileTheSourceIsUsed)
{
    CGreLayerImage image;
    image.SetImageId(QStringLiteral("kept"));
    std::unique_ptr<CGreLayerImage> read = LoadObject<CGreLayerImage>(SaveObject(&image));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->IsUseSource());
    EXPECT_EQ(read->GetImageId(), QStringLiteral("kept"));
}

TEST(GreLayer, DamagedLayerDataFailsTheLoad)
{
    CGreLayerImage image;
    const QByteArray good = SaveObject(&image);
    const int kindAt = NewObject(1, 1, "CGreLayerImage").size();
    ASSERT_NE(LoadObject<CGreLayerImage>(good), nullptr);

    // An image layer claiming to be a group would be walked as one.
    QByteArray wrongKind = good;
    wrongKind.replace(kindAt, 4, Int(LayerKindGroup));
    EXPECT_EQ(LoadObject<CGreLayerImage>(wrongKind), nullptr);

    CGreLayerGroup group;
    QByteArray emptyChild = SaveObject(&group);
    emptyChild.replace(emptyChild.size() - 4, 4, Int(1) + Int(0));
    EXPECT_EQ(LoadObject<CGreLayerGroup>(emptyChild), nullptr);

    QByteArray foreignChild = SaveObject(&group);
    foreignChild.replace(foreignChild.size() - 4, 4, Int(1) + NewObject(2, 2, "CGreColor"));
    EXPECT_EQ(LoadObject<CGreLayerGroup>(foreignChild + QByteArray(4, '\0') + Text("")), nullptr);

    EXPECT_EQ(LoadObject<CGreLayerGroup>(good.left(good.size() - 1)), nullptr);
}

TEST(GreLayerGroup, MovesAndRemovesOnlyItsOwnChildren)
{
    std::unique_ptr<CGreLayerGroup> group = SampleTree();
    CGreLayerBase* image = group->GetLayer(0);
    CGreLayerBase* text = group->GetLayer(1);
    CGreLayerBase* inner = group->GetLayer(2);
    CGreLayerBase* nested = static_cast<CGreLayerGroup*>(inner)->GetLayer(0);

    EXPECT_FALSE(group->MoveLayerUp(inner));
    EXPECT_FALSE(group->MoveLayerDown(image));
    EXPECT_FALSE(group->MoveLayerUp(nested));
    EXPECT_FALSE(group->RemoveLayer(nested));
    EXPECT_EQ(group->IndexOfLayer(nested), -1);
    EXPECT_EQ(group->GetLayer(3), nullptr);

    EXPECT_TRUE(group->MoveLayerUp(image));
    EXPECT_EQ(group->IndexOfLayer(image), 1);
    EXPECT_EQ(group->IndexOfLayer(text), 0);
    EXPECT_TRUE(group->MoveLayerDown(inner));
    EXPECT_EQ(group->GetLayer(1), inner);

    EXPECT_TRUE(group->RemoveLayer(text));
    EXPECT_EQ(group->GetLayerCount(), 2);
    EXPECT_EQ(group->GetLayer(0), inner);
}

TEST(GreLayerGroup, FindsItselfAndDirectChildrenById)
{
    std::unique_ptr<CGreLayerGroup> group = SampleTree();
    CGreLayerBase* text = group->GetLayer(1);
    CGreLayerBase* nested = static_cast<CGreLayerGroup*>(group->GetLayer(2))->GetLayer(0);
    EXPECT_EQ(group->FindLayerById(group->GetId()), group.get());
    EXPECT_EQ(group->FindLayerById(text->GetId()), text);
    EXPECT_EQ(group->FindLayerById(nested->GetId()), nullptr);
    EXPECT_EQ(group->FindLayerById(text->GetId().toLower()), nullptr);
}

TEST(GreLayer, RemoveEffectDeletesOnlyAnEffectOfTheLayer)
{
    CGreLayerImage layer;
    layer.AddEffect(std::make_unique<CGreEffectDropShadow>());
    layer.AddEffect(std::make_unique<CGreEffectBase>());
    const CGreEffectDropShadow foreign;
    EXPECT_FALSE(layer.RemoveEffect(&foreign));
    EXPECT_TRUE(layer.RemoveEffect(layer.GetEffect(0)));
    ASSERT_EQ(layer.GetEffectCount(), 1);
    EXPECT_EQ(layer.GetEffect(0)->GetKind(), EffectKindBase);
}
