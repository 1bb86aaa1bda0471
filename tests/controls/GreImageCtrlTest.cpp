#include "controls/GreImageCtrl.h"
#include "ControlArtifacts.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace
{
constexpr QRgb Background = 0xFFE0E0E0;

class ImagePreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.CreateShown(420, 320));
        ASSERT_TRUE(
            preview.CreateEx(0x200, QString(), QString(), 0x52800000, CRect(0, 0, 400, 300), &frame, 4711));
    }
    void SetPicture(int width, int height)
    {
        ASSERT_TRUE(preview.m_image.Create(width, height));
        QPainter painter(&preview.m_image.GetBitmap());
        QLinearGradient gradient(0, 0, width, height);
        gradient.setColorAt(0, QColor(0x2E, 0x6D, 0xB4));
        gradient.setColorAt(1, QColor(0xF2, 0xA9, 0x3B));
        painter.fillRect(0, 0, width, height, gradient);
        painter.fillRect(0, 0, 4, 4, Qt::red);
        painter.end();
        preview.Refresh();
    }
    void XButton(Qt::MouseButton button)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50), button, button, {});
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(50, 50), QPointF(50, 50), button, {}, {});
        QApplication::sendEvent(Widget(), &press);
        QApplication::sendEvent(Widget(), &release);
    }
    void Wheel(int delta)
    {
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Widget(), &wheel);
    }
    QWidget* Widget() { return preview.GetSafeHwnd(); }
    int Pos(int bar) { return preview.ScrollBars().GetScrollPos(bar); }

    CCommandRecorder frame;
    CGreImageCtrl preview;
};
} // namespace

TEST_F(ImagePreview, SmallPictureIsCentredWithoutBars)
{
    Grab(preview); // nothing to draw without a picture
    SetPicture(100, 50);
    EXPECT_EQ(preview.GetOffsetX(), 150);
    EXPECT_EQ(preview.GetOffsetY(), 125);
    EXPECT_FALSE(preview.ScrollBars().IsShown(SB_HORZ));
    EXPECT_FALSE(preview.ScrollBars().IsShown(SB_VERT));
    const QImage image = Grab(preview);
    EXPECT_EQ(image.pixel(150, 125), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(149, 125), Background);
    EXPECT_EQ(image.pixel(150, 124), Background);
}

TEST_F(ImagePreview, ZoomIsClampedAndFitsThePicture)
{
    struct Case
    {
        double factor;
        double stored;
        bool inRange;
    };
    for (const Case& c : {Case{8, 7, false}, Case{0.05, 0.1, false}, Case{2.5, 2.5, true}, Case{7, 7, true}})
    {
        EXPECT_EQ(preview.SetZoom(c.factor), c.inRange) << c.factor;
        EXPECT_DOUBLE_EQ(preview.GetZoom(), c.stored) << c.factor;
    }

    struct Fit
    {
        int width;
        int height;
        double zoom;
    };
    preview.MoveWindow(0, 0, 500, 400);
    for (const Fit& f : {Fit{1000, 600, 0.5}, Fit{300, 200, 1.0}, Fit{600, 1600, 0.25}})
    {
        SetPicture(f.width, f.height);
        preview.SetZoom(3);
        preview.ZoomToFit();
        EXPECT_DOUBLE_EQ(preview.GetZoom(), f.zoom) << f.width << " x " << f.height;
        EXPECT_LE(preview.GetScaledWidth(), 500);
        EXPECT_LE(preview.GetScaledHeight(), 400);
    }
}

TEST_F(ImagePreview, ExtraButtonsStepTheZoomWithinItsLimits)
{
    SetPicture(100, 50);
    preview.SetZoom(6.9);
    XButton(Qt::XButton1);
    EXPECT_DOUBLE_EQ(preview.GetZoom(), 7);
    XButton(Qt::XButton1);
    EXPECT_DOUBLE_EQ(preview.GetZoom(), 7);
    preview.SetZoom(0.2);
    XButton(Qt::XButton2);
    EXPECT_DOUBLE_EQ(preview.GetZoom(), 0.1);
    XButton(Qt::XButton1);
    EXPECT_NEAR(preview.GetZoom(), 0.3, 1e-9);
    // A wheel notch is consumed without zooming or scrolling.
    preview.SetZoom(4);
    Wheel(-120);
    EXPECT_DOUBLE_EQ(preview.GetZoom(), 4);
    EXPECT_EQ(Pos(SB_VERT), 0);
}

TEST_F(ImagePreview, DraggingMovesTheViewOppositeToThePointer)
{
    SetPicture(100, 50);
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(Widget(), QPoint(150, 100));
    QTest::mouseMove(Widget(), QPoint(100, 80));
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(100, 80));
    EXPECT_EQ(Pos(SB_HORZ), 0) << "a picture that fits does not move";
    EXPECT_EQ(Pos(SB_VERT), 0);

    preview.SetZoom(7); // 700 x 350 in a window less its bars
    ASSERT_TRUE(preview.ScrollBars().IsShown(SB_HORZ));
    ASSERT_TRUE(preview.ScrollBars().IsShown(SB_VERT));
    QTest::mousePress(Widget(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(Widget(), QPoint(190, 150)); // the first move only starts the drag
    QTest::mouseMove(Widget(), QPoint(150, 130));
    EXPECT_EQ(Pos(SB_HORZ), 40);
    EXPECT_EQ(Pos(SB_VERT), 20);
    QTest::mouseMove(Widget(), QPoint(-2000, -2000));
    const CRect client = preview.ScrollBars().GetClientRect();
    EXPECT_EQ(Pos(SB_HORZ), 700 - client.Width()) << "held to the scroll range";
    EXPECT_EQ(Pos(SB_VERT), 350 - client.Height());
    QTest::mouseRelease(Widget(), Qt::LeftButton, {}, QPoint(-2000, -2000));
    QTest::mouseMove(Widget(), QPoint(300, 300));
    EXPECT_EQ(Pos(SB_HORZ), 700 - client.Width()) << "the drag ends with the button";

    // The picture's top left corner follows the scroll position.
    preview.ScrollBars().SetScrollPos(SB_HORZ, 0);
    preview.ScrollBars().SetScrollPos(SB_VERT, 0);
    EXPECT_EQ(Grab(preview).pixel(10, 10), qRgb(255, 0, 0));
}

TEST_F(ImagePreview, ScrollBarArrowsAndPagesMoveByLineSteps)
{
    SetPicture(200, 200);
    preview.SetZoom(5);
    QScrollBar* vertical = preview.ScrollBars().Bar(SB_VERT);
    ASSERT_NE(vertical, nullptr);
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Pos(SB_VERT), 20);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Pos(SB_VERT), 100);
    vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(Pos(SB_VERT), 80);
    vertical->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Pos(SB_VERT), 1000 - preview.ScrollBars().GetClientRect().Height());
    QScrollBar* horizontal = preview.ScrollBars().Bar(SB_HORZ);
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Pos(SB_HORZ), 80);
    horizontal->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Pos(SB_HORZ), 0);
}

TEST_F(ImagePreview, FittedPictureArtifact)
{
    SetPicture(640, 400);
    {
        QPainter painter(&preview.m_image.GetBitmap());
        painter.setPen(QPen(Qt::white, 6));
        painter.drawEllipse(QRect(170, 50, 300, 300));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
        painter.drawText(QRect(0, 0, 640, 400), Qt::AlignCenter, QStringLiteral("Spring offers"));
    }
    preview.ZoomToFit();
    EXPECT_DOUBLE_EQ(preview.GetZoom(), 400.0 / 640);
    SaveControlArtifact(preview, "image-preview.png");
}
