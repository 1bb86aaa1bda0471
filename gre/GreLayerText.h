#pragma once

#include "gre/GreColor.h"
#include "gre/GreImage.h"
#include "gre/GreLayerBase.h"

#include <QFont>

namespace gre
{
enum GreTextAlignment
{
    AlignLeft = 0,
    AlignCentre = 1,
    AlignRight = 2,
};

// A line of text in one font. Its picture is the text as last rendered; it is copied with
// the layer but never archived.
class CGreLayerText : public CGreLayerBase
{
    KV_PERSISTENT_CLASS()
    CGreLayerText() : CGreLayerBase(LayerKindText) {}

    void Serialize(CPSArchive& archive) override;
    std::unique_ptr<CGreLayerBase> Clone() const override;
    void AddToHash(CMd5Digest& digest) const override;
    QSize GetRotatedExtent(const CGreRenderContext& context) const override;
    void Prepare(CGreRenderContext& context) override;
    void Composite(CGreRenderContext& context) const override;
    // The size of the picture of the text wrapped at the width; 0 x 0 for no width or no text.
    QSize Measure(int maxWidth) const;
    QFont MakeFont() const;

    const QString& GetText() const { return m_text; }
    void SetText(const QString& text) { m_text = text; }
    const QString& GetFontName() const { return m_fontName; }
    void SetFontName(const QString& fontName) { m_fontName = fontName; }
    // Em size in pixels.
    float GetSize() const { return m_size; }
    void SetSize(float size) { m_size = size; }
    bool IsBold() const { return m_bold; }
    void SetBold(bool bold) { m_bold = bold; }
    bool IsItalic() const { return m_italic; }
    void SetItalic(bool italic) { m_italic = italic; }
    bool IsUnderline() const { return m_underline; }
    void SetUnderline(bool underline) { m_underline = underline; }
    bool IsStrikeout() const { return m_strikeout; }
    void SetStrikeout(bool strikeout) { m_strikeout = strikeout; }
    CGreColor GetColor() const { return m_color; }
    void SetColor(const CGreColor& color) { m_color = color; }
    bool IsSmoothing() const { return m_smoothing; }
    void SetSmoothing(bool smoothing) { m_smoothing = smoothing; }
    int GetAlignment() const { return m_alignment; }
    void SetAlignment(int alignment) { m_alignment = alignment; }
    CGreImage& GetPicture() { return m_picture; }
    const CGreImage& GetPicture() const { return m_picture; }

private:
    QString m_text;
    QString m_fontName;
    float m_size{12};
    bool m_bold{false};
    bool m_italic{false};
    bool m_underline{false};
    bool m_strikeout{false};
    CGreColor m_color;
    bool m_smoothing{true};
    qint32 m_alignment{AlignLeft};
    CGreImage m_picture;
};
} // namespace gre
