#include "gre/GreLayerText.h"

#include "base/AnsiCodePage.h"
#include "base/Md5Digest.h"
#include "gre/GreArchiving.h"

namespace gre
{
void CGreLayerText::Serialize(CPSArchive& archive)
{
    CGreLayerBase::Serialize(archive);
    Exchange(archive, m_text);
    Exchange(archive, m_fontName);
    Exchange(archive, m_size);
    Exchange(archive, m_bold);
    Exchange(archive, m_italic);
    Exchange(archive, m_underline);
    Exchange(archive, m_strikeout);
    Exchange(archive, m_smoothing);
    Exchange(archive, m_alignment);
    m_color.Serialize(archive);
}

std::unique_ptr<CGreLayerBase> CGreLayerText::Clone() const
{
    return std::make_unique<CGreLayerText>(*this);
}

// The colour goes in alpha first here, unlike a shadow's; stored keys depend on both orders.
void CGreLayerText::AddToHash(CMd5Digest& digest) const
{
    CGreLayerBase::AddToHash(digest);
    digest.AddString(m_text);
    // The code page turns every character it lacks into '?', so "Ω" and "Ж" would share one
    // key and an edited text would keep the old effect. Such texts add their UTF-8 behind a NUL
    // byte, which no typed feed ever gives: no stored key changes, and none can collide.
    if (AnsiCodePage::ToText(AnsiCodePage::FromText(m_text)) != m_text)
    {
        const QByteArray utf8 = '\0' + m_text.toUtf8();
        digest.Update(utf8.constData(), int(utf8.size()));
    }
    digest.AddString(m_fontName);
    digest.AddFloat(m_size);
    digest.AddBool(m_bold);
    digest.AddBool(m_italic);
    digest.AddBool(m_underline);
    digest.AddBool(m_strikeout);
    digest.AddInt(m_color.GetAlpha());
    digest.AddInt(m_color.GetRed());
    digest.AddInt(m_color.GetGreen());
    digest.AddInt(m_color.GetBlue());
    digest.AddString(m_color.GetName());
    digest.AddBool(m_smoothing);
    digest.AddInt(m_alignment);
}
} // namespace gre
