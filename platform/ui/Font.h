#pragma once

#include "platform/ui/LogFont.h"

#include <QFont>

// A font made from a description; Windows family names become installed families.
class CFont
{
public:
    bool CreateFontIndirect(const LOGFONT* description);
    bool GetLogFont(LOGFONT* description) const;
    bool IsCreated() const { return m_created; }
    const QFont& ToQFont() const { return m_font; }

private:
    QFont m_font;
    LOGFONT m_description;
    bool m_created = false;
};
