#include "webserver/StylePreviewPage.h"

#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"
#include "webserver/CssWriters.h"
#include "webserver/PageSources.h"

using namespace ndb;

namespace
{
std::optional<CNdbColor> ResolvedField(const CNdbStyle& record, int id, const CNdbPalette* palette)
{
    CNdbFieldValue value;
    if (!record.GetField(id, value))
        return std::nullopt;
    const CNdbColor color = value.GetColor() ? *value.GetColor() : CNdbColor();
    return palette ? palette->ResolveColor(color) : color;
}

int Brightness(const CNdbColor& color)
{
    const CNdbRgba& rgba = color.GetRgba();
    return int(0.299 * rgba.red + 0.587 * rgba.green + 0.114 * rgba.blue);
}
} // namespace

bool BuildStylePreviewPage(QString& output, const CNdbStyle* record, const IPageContext* context,
                           const QString& sample)
{
    const IPageNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return true;
    if (!record)
        return false;
    const CNdbPalette* palette = newsletter->GetPalette();
    const std::optional<CNdbColor> text = ResolvedField(*record, StyleColor, palette);
    const int textBrightness = text ? Brightness(*text) : 0;
    const std::optional<CNdbColor> background = ResolvedField(*record, StyleBackgroundColor, palette);
    const int brightness =
        background && background->GetRgba().alpha != 0 ? Brightness(*background) : textBrightness;
    const QString pageColor = brightness >= 128 ? QStringLiteral("#333333") : QStringLiteral("#FFFFFF");

    QString css;
    if (!WriteRecordCss(css, record, context))
        return false;
    css.replace(QLatin1Char('"'), QLatin1Char('\''));
    output = QLatin1String("<html><head></head><body style=\"margin:0px;background-color:") + pageColor +
             QLatin1String(";\">\r\n") +
             QLatin1String("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" height=\"100%\" "
                           "width=\"100%\"><tr><td>\r\n") +
             QLatin1String("<p style=\"") + css + QLatin1String("\">") + sample + QLatin1String("</p>") +
             QLatin1String("</td></tr></table>\r\n") + QLatin1String("</body></html>\r\n");
    return true;
}
