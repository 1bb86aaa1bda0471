#pragma once

#include "platform/ui/ResourceModule.h"
#include "platform/ui/Wnd.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <utility>
#include <vector>

// A top-level window that records the WM_COMMAND messages its children send it.
class CCommandRecorder : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

    bool CreateShown(int width, int height)
    {
        if (!Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0))
            return false;
        return QTest::qWaitForWindowExposed(GetSafeHwnd());
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
        {
            commands.emplace_back(wParam, lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A resource module in a temporary folder, current while the object lives.
class ScopedResourceModule
{
public:
    ScopedResourceModule() : m_previous(ResourceModule::Root()) { ResourceModule::SetRoot(m_dir.path()); }
    ~ScopedResourceModule() { ResourceModule::SetRoot(m_previous); }

    void AddImage(UINT id, const QImage& image, const char* format)
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("images")));
        const QString suffix = QString::fromLatin1(format).toLower();
        image.save(m_dir.filePath(QStringLiteral("images/%1.%2").arg(id).arg(suffix)), format);
    }
    void AddFile(const QString& relativePath, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// A state strip whose frames are told apart by colour; within a frame the left part, the middle
// column and the right part differ too, so sliced drawing can be checked.
inline QImage MakeStateStrip(int width, int frameHeight)
{
    QImage strip(width, frameHeight * 4, QImage::Format_ARGB32);
    for (int frame = 0; frame < 4; ++frame)
    {
        for (int y = frame * frameHeight; y < (frame + 1) * frameHeight; ++y)
        {
            for (int x = 0; x < width; ++x)
            {
                const int part = x < width / 2 ? 0 : (x == width / 2 ? 1 : 2);
                strip.setPixel(x, y, qRgb(40 + 60 * frame, 10 + 100 * part, 200 - 40 * frame));
            }
        }
    }
    return strip;
}

inline QRgb StripColor(int frame, int part)
{
    return qRgb(40 + 60 * frame, 10 + 100 * part, 200 - 40 * frame);
}

inline QImage Grab(CWnd& wnd)
{
    return wnd.GetSafeHwnd()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}
