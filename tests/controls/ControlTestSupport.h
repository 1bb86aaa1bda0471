#pragma once

#include "platform/core/AppStrings.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
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

// A language module made of files written by a test, current from Load() until the object goes.
class ScopedResourceModule
{
public:
    ScopedResourceModule() { AddFile(QStringLiteral("strings/test.txt"), "3002\tqq\n"); }
    ~ScopedResourceModule() { UseBuiltInResources(); }

    void AddImage(UINT id, const QImage& image, const char* format)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        AddFile(QStringLiteral("images/%1.%2").arg(id).arg(QString::fromLatin1(format).toLower()),
                buffer.data());
    }
    void AddFile(const QString& relativePath, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("source/") + relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        m_files << relativePath;
    }
    // Compiles the files with the resource compiler and makes them the current module.
    bool Load()
    {
        const QString output = m_dir.filePath(QStringLiteral("module%1.rcc").arg(++m_builds));
        return Compile(output) && LoadResourceModule(output);
    }
    // Compiles the files into a module file.
    bool Compile(const QString& output)
    {
        QByteArray qrc = "<RCC><qresource prefix=\"/\">\n";
        for (const QString& file : m_files)
            qrc += "<file>" + file.toUtf8() + "</file>\n";
        qrc += "</qresource></RCC>\n";
        QFile qrcFile(m_dir.filePath(QStringLiteral("source/module.qrc")));
        if (!qrcFile.open(QIODevice::WriteOnly) || qrcFile.write(qrc) != qrc.size())
            return false;
        qrcFile.close();
        QProcess rcc;
        rcc.setWorkingDirectory(m_dir.filePath(QStringLiteral("source")));
        rcc.start(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QStringLiteral("/rcc"),
                  {QStringLiteral("-binary"), QStringLiteral("module.qrc"), QStringLiteral("-o"), output});
        return rcc.waitForFinished(30000) && rcc.exitCode() == 0;
    }

private:
    QTemporaryDir m_dir;
    QStringList m_files;
    int m_builds = 0;
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

// The tooltip that a pointer resting at a point of a window shows, empty for none. Asked as the
// desktop asks: the child under the pointer first, then, while it declines, its parents.
inline QString ToolTipAt(QWidget* window, const QPoint& point)
{
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
        return QStringLiteral("(an earlier tooltip stays)");
    QWidget* target = window->childAt(point) ? window->childAt(point) : window;
    const QPoint at = target->mapFrom(window, point);
    QHelpEvent help(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}
