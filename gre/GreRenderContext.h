#pragma once

#include <QString>
#include <QtGlobal>

#include <map>
#include <memory>

namespace gre
{
class CGreImage;

// The images of a project by id, as CGreProject keeps them.
using GreImageMap = std::map<QString, std::unique_ptr<CGreImage>>;

// Bounds of one render. Pipelines come from documents and library files that anyone can
// craft, and the local web server renders them on its connection threads, so no stored value
// may decide alone how much memory or time a render takes.
// Widest and highest output picture; also the largest picture a text layer draws into.
constexpr int MaxRenderSide = 4096;
// Layers visited in each of the two passes of a render, and effects applied in the second.
constexpr int MaxRenderSteps = 1024;
// Groups inside groups; deeper layers are not drawn.
constexpr int MaxGroupDepth = 32;
// Pixels one render may draw and copy, about sixteen times the largest output; layers beyond
// it are left out. It keeps a crafted pipeline from holding a connection thread for minutes.
constexpr qint64 MaxRenderWork = qint64(16) * MaxRenderSide * MaxRenderSide;

// What every layer of one render works with: the target drawn into, the source image that
// layers showing the source draw, the project images that layers name by id, and what is
// left of the render's bounds.
class CGreRenderContext
{
public:
    CGreRenderContext(CGreImage& target, const CGreImage& source, const GreImageMap* images)
        : m_target(target), m_source(source), m_images(images)
    {
    }
    CGreRenderContext(const CGreRenderContext&) = delete;
    CGreRenderContext& operator=(const CGreRenderContext&) = delete;

    CGreImage& GetTarget() const { return m_target; }
    const CGreImage& GetSource() const { return m_source; }
    // Null when the render has no project images.
    const GreImageMap* GetImageMap() const { return m_images; }
    // The project image under the id; null when there is none.
    const CGreImage* FindImage(const QString& id) const;

    // Starts the preparing or the compositing pass with a fresh step budget.
    void StartPass() { m_stepsLeft = MaxRenderSteps; }
    // Spends one step on a layer or effect; false once the pass has none left.
    bool TakeStep();
    // Spends the pixels on drawing; false, spending nothing, when the render has not that many
    // left.
    bool TakeWork(qint64 pixels);

    // Keeps the group depth for as long as one group is being walked.
    class CGroupLevel
    {
    public:
        explicit CGroupLevel(CGreRenderContext& context) : m_context(context) { ++m_context.m_depth; }
        ~CGroupLevel() { --m_context.m_depth; }
        CGroupLevel(const CGroupLevel&) = delete;
        CGroupLevel& operator=(const CGroupLevel&) = delete;
        // False when the group lies too deep for its children to be drawn.
        bool IsAllowed() const { return m_context.m_depth <= MaxGroupDepth; }

    private:
        CGreRenderContext& m_context;
    };

private:
    CGreImage& m_target;
    const CGreImage& m_source;
    const GreImageMap* m_images;
    int m_stepsLeft{MaxRenderSteps};
    qint64 m_workLeft{MaxRenderWork};
    int m_depth{0};
};
} // namespace gre
