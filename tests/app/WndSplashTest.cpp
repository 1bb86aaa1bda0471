#include "app/WndSplash.h"
#include "QueuedEvents.h"
#include "controls/CommandIds.h"
#include "controls/ControlTestSupport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{
constexpr int EndCommand = ID_SPLASH_ENDED;
// A short timer for the splash; the end rule does not depend on its length.
constexpr UINT ShortElapse = 20;

// The main window's part: it names itself and the end command. Like the main window, which is
// still being built, the owner is not shown yet; each case starts the timer when it needs it.
struct SplashOwner
{
    CCommandRecorder owner;
    CWndSplash splash;

    bool Start()
    {
        if (!owner.Create(QString(), QString(), 0, CRect(0, 0, 300, 200), nullptr, 0))
            return false;
        splash.SetEndCommand(&owner, EndCommand);
        if (!splash.Create(&owner))
            return false;
        splash.ShowWindow(SW_SHOW);
        splash.UpdateWindow();
        return true;
    }
    int EndCommands() const
    {
        return int(std::count_if(owner.commands.begin(), owner.commands.end(),
                                 [](const auto& command) { return LOWORD(command.first) == EndCommand; }));
    }
};

QImage Checkerboard(QSize size)
{
    QImage board(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            board.setPixel(x, y, ((x / 16 + y / 16) % 2) ? qRgb(255, 255, 255) : qRgb(204, 204, 204));
    return board;
}

// What a person sees of the window over the board behind it.
QImage OverBoard(CWnd& window)
{
    const QImage splash = window.GetSafeHwnd()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage composite = Checkerboard(splash.size());
    QPainter painter(&composite);
    painter.drawImage(0, 0, splash);
    return composite;
}

bool Near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
           std::abs(qBlue(a) - qBlue(b)) <= 1;
}
} // namespace

TEST(WndSplash, OwnerReadyFirstStaysUntilTheTimerRunsOut)
{
    SplashOwner start;
    // The timer starts only after the owner is ready, so that no slow moment of the machine can
    // let the time run out before the splash is seen staying.
    ASSERT_TRUE(start.Start());
    start.splash.SetReady();
    QCoreApplication::processEvents();
    EXPECT_TRUE(start.splash.IsWindowVisible()) << "the time has not run out yet";
    EXPECT_EQ(start.EndCommands(), 0);

    ASSERT_NE(start.splash.SetTimer(CWndSplash::TimerId, ShortElapse), 0u);
    QTRY_COMPARE(start.EndCommands(), 1);
    EXPECT_FALSE(start.splash.IsWindow());
    // A timer that still ran would have ended the splash again.
    AwaitTimerPeriod(ShortElapse);
    EXPECT_EQ(start.EndCommands(), 1) << "the timer is gone with the window";
    EXPECT_EQ(start.owner.commands.front().second, 0);
}

TEST(WndSplash, TimerFirstWaitsForTheOwnerAndIgnoresInput)
{
    SplashOwner start;
    ASSERT_TRUE(start.Start());
    start.splash.SendMessage(WM_TIMER, CWndSplash::TimerId);
    start.splash.SendMessage(WM_TIMER, CWndSplash::TimerId);
    QTest::mouseClick(start.splash.GetSafeHwnd(), Qt::LeftButton);
    QTest::keyClick(start.splash.GetSafeHwnd(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(start.splash.IsWindowVisible()) << "the main window is not built yet";
    EXPECT_EQ(start.EndCommands(), 0);

    start.splash.SetReady();
    EXPECT_FALSE(start.splash.IsWindow()) << "closes as soon as the owner is ready";
    start.splash.SetReady();
    start.splash.SendMessage(WM_TIMER, CWndSplash::TimerId);
    QCoreApplication::processEvents();
    EXPECT_EQ(start.EndCommands(), 1);
}

TEST(WndSplash, CentredTopmostPictureOverWhatLiesBehind)
{
    SplashOwner start;
    ASSERT_TRUE(start.Start());
    QWidget* window = start.splash.GetSafeHwnd();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Splash"));
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->geometry(), QRect((screen.width() - 550) / 2, (screen.height() - 400) / 2, 550, 400));

    const QImage composite = OverBoard(start.splash);
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    composite.save(QStringLiteral(KV_ARTIFACT_DIR "/splash-over-checkerboard.png"));
    const QImage board = Checkerboard(composite.size());
    EXPECT_EQ(composite.pixel(1, 1), board.pixel(1, 1)) << "the corner outside the card is see-through";
    EXPECT_NE(composite.pixel(275, 200), board.pixel(275, 200)) << "the card covers the middle";
    EXPECT_EQ(qAlpha(start.splash.GetPicture().pixel(275, 200)), 255);
}

TEST(WndSplash, HalfTransparentPixelsBlendWithTheBackground)
{
    // A picture of one see-through, one half-transparent red and one opaque blue pixel.
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 200, 30, 0));
    picture.setPixel(1, 0, qRgba(255, 0, 0, 128));
    picture.setPixel(2, 0, qRgba(0, 0, 255, 255));
    ScopedResourceModule resources;
    resources.AddImage(CWndSplash::PictureId, picture, "PNG");
    ASSERT_TRUE(resources.Load());

    SplashOwner start;
    ASSERT_TRUE(start.Start());
    ASSERT_EQ(start.splash.GetSafeHwnd()->size(), QSize(3, 1));
    const QImage composite = OverBoard(start.splash);
    const QRgb grey = qRgb(204, 204, 204);
    EXPECT_EQ(composite.pixel(0, 0), grey);
    // Half of the red over half of the grey: premultiplied once, not twice.
    EXPECT_TRUE(Near(composite.pixel(1, 0), qRgb(229, 101, 101))) << std::hex << composite.pixel(1, 0);
    EXPECT_EQ(composite.pixel(2, 0), qRgb(0, 0, 255));
}
