#pragma once

#include "gre/GreProject.h"
#include "ndb/NdbPalette.h"
#include "ndb/NdbStyle.h"
#include "webserver/PageSources.h"

#include <QString>

#include <map>
#include <memory>
#include <utility>
#include <vector>

// A newsletter held in plain members, standing in for the document model in the page tests.
class CFixtureNewsletter : public IPrunableNewsletter
{
public:
    QString GetNewsletterText(int id) const override
    {
        const auto found = fields.find(id);
        return found == fields.end() ? QString() : found->second;
    }
    QString GetBodyHtml() const override { return body; }
    const ndb::CNdbStyle* GetPageStyle() const override { return pageStyle.get(); }
    const ndb::CNdbPalette* GetPalette() const override { return &palette; }
    std::vector<const ndb::CNdbStyle*> GetStyles() const override
    {
        std::vector<const ndb::CNdbStyle*> list;
        for (const auto& [key, style] : styles)
            list.push_back(style.get());
        return list;
    }
    const ndb::CNdbStyle* FindStyleByTag(const QString& tag) const override
    {
        for (const auto& [key, style] : styles)
        {
            if (style->GetString(ndb::StyleRuleName) == tag)
                return style.get();
        }
        return nullptr;
    }
    bool GetSenderField(int id, ndb::CNdbFieldValue& value) const override
    {
        const auto found = sender.find(id);
        if (found == sender.end())
            return false;
        value = found->second;
        return true;
    }
    std::optional<QString> FindResourcePath(const QString& resourceId) const override
    {
        for (const auto& [id, path] : resources)
        {
            if (id == resourceId)
                return path;
        }
        return std::nullopt;
    }
    int GetResourceCount() const override { return int(resources.size()); }
    QString GetResourceIdAt(int index) const override { return resources.at(size_t(index)).first; }
    void DeleteResourceAt(int index) override { resources.erase(resources.begin() + index); }
    QStringList GetAttachmentIds() const override { return attachments; }
    gre::CGreProject& GetImageProject() override { return project; }

    ndb::CNdbStyle& AddStyle(const QString& key, const QString& ruleName)
    {
        auto& style = styles[key];
        style = std::make_unique<ndb::CNdbStyle>();
        style->SetField(ndb::StyleRuleName, ndb::CNdbFieldValue(ruleName));
        return *style;
    }
    void SetSender(int id, const ndb::CNdbFieldValue& value) { sender.insert_or_assign(id, value); }
    void SetSenderText(int id, const QString& text) { SetSender(id, ndb::CNdbFieldValue(text)); }
    void SetSenderBool(int id, bool on) { SetSender(id, ndb::CNdbFieldValue(ndb::NdbValueBool, on ? 1 : 0)); }

    std::map<int, QString> fields;
    QString body;
    std::unique_ptr<ndb::CNdbStyle> pageStyle;
    ndb::CNdbPalette palette;
    std::map<QString, std::unique_ptr<ndb::CNdbStyle>> styles;
    std::map<int, ndb::CNdbFieldValue> sender;
    std::vector<std::pair<QString, QString>> resources;
    QStringList attachments;
    gre::CGreProject project;
};

namespace fixture
{
inline const QString KeyBlue = QStringLiteral("{11111111-2222-3333-4444-555555555555}");
inline const QString KeyRed = QStringLiteral("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
constexpr int Port = 8080;

inline ndb::CNdbFieldValue Length(float number, int unit)
{
    return ndb::CNdbFieldValue(number, unit);
}
inline ndb::CNdbFieldValue Color(quint8 r, quint8 g, quint8 b)
{
    return ndb::CNdbFieldValue(ndb::CNdbColor(r, g, b));
}
inline ndb::CNdbFieldValue PaletteColor(const QString& key)
{
    return ndb::CNdbFieldValue(ndb::CNdbColor(key));
}

// The body as the layout editor stores it: name metadata, guide classes, local addresses,
// merge fields, bookmarks and the saved editor style element.
inline QString FixtureBody()
{
    return QStringLiteral(
        "<h1 name=\"color:P{11111111-2222-3333-4444-555555555555};\">Spring news</h1>"
        "<p>Dear <span name=\"fc_110\">First name</span>, welcome to <span "
        "name=\"fc_120\">Company</span>.</p>"
        "<p class=\"c1\"><code><a name=\"top\"></a></code>See <a href=\"http://example.com/offer\" "
        "name=\"src_action_type:ext;\">our offer</a> and <a "
        "href=\"http://example.com/untracked\">more</a>.</p>"
        "<div class=\"sys_div\" id=\"box1\" "
        "name=\"background-color:F{#FFEEDDFF};src_border_top:1px solid "
        "P{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE};\" "
        "style=\"margin:10px 5px;padding:4px;\"><p>Boxed text</p></div>"
        "<table class=\"sys_table\" name=\"src_ResID:{RES-BG};\" "
        "style=\"background-image:url(http://localhost:8080/img/bg.png);\"><tr><td>cell</td></tr></table>"
        "<p><img src=\"http://localhost:8080/img/photo.jpg\" alt=\"Photo\" name=\"src_ResID:{RES-PHOTO};\" "
        "style=\"width:120px;height:auto;\" />"
        "<img src=\"http://localhost:8080/img/photo.jpg?pid={PIPE-1}\" alt=\"Shadowed\" "
        "name=\"src_ResID:{RES-PHOTO};src_pipelineid:{PIPE-1};\" /></p>"
        "<p><a href=\"files/prices.pdf\">Prices</a> <a href=\"#top\">Top</a> "
        "<a href=\"http://www.example.com/wv\" name=\"src_action_type:webview;\">Web view</a> "
        "<a href=\"http://www.example.com/unsub\" name=\"src_action_type:unsubscribe;\">Unsubscribe</a> "
        "<a href=\"MAILTO:old@example.com\" name=\"src_action_type:unsubscribe;\">Write</a></p>"
        "<style type=\"text/css\" id=\"KV_SYSTEM_STYLE_ID\">.old { color:red; }</style>");
}

// A newsletter with a layout, page style, palette, named styles, images (one with an effect),
// merge fields, bookmarks, tracked and unsubscribe links, sent through a PHP site.
inline void FillFixtureNewsletter(CFixtureNewsletter& n)
{
    using namespace ndb;
    n.fields[100] = QStringLiteral("{NL-0001}");
    n.fields[140] = QStringLiteral("Fr\u00fchling & <News>");
    n.body = FixtureBody();
    n.palette.AddColor(QStringLiteral("Blue"), KeyBlue, CNdbRgba(0x10, 0x20, 0xC0));
    n.palette.AddColor(QStringLiteral("Red"), KeyRed, CNdbRgba(0xD0, 0x10, 0x10));

    n.pageStyle = std::make_unique<CNdbStyle>();
    CNdbStyle& page = *n.pageStyle;
    page.SetField(StyleLinkColor, PaletteColor(KeyBlue));
    page.SetField(StyleLinkDecoration, CNdbFieldValue(NdbValueInt, NdbDecorationUnderline));
    page.SetField(StyleHoverLinkColor, Color(0xFF, 0x84, 0x00));
    page.SetField(StyleHoverLinkDecoration, CNdbFieldValue(NdbValueInt, NdbDecorationNone));
    page.SetField(StyleBackgroundColor, Color(0xF0, 0xF0, 0xF0));
    page.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{RES-BG}")));
    page.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("{PIPE-2}")));

    CNdbStyle& normal = n.AddStyle(QStringLiteral("{S-1}"), QStringLiteral("normal"));
    normal.SetField(StyleFontFamily, CNdbFieldValue(QStringLiteral("\"Trebuchet MS\", sans-serif")));
    normal.SetField(StyleFontSize, Length(10, NdbUnitPt));
    normal.SetField(StyleLineHeight, Length(0, NdbUnitNone));
    normal.SetField(StyleColor, PaletteColor(KeyRed));
    for (int side : {StyleMarginLeft, StyleMarginTop, StyleMarginRight, StyleMarginBottom})
        normal.SetField(side, Length(4, NdbUnitPx));
    CNdbStyle& heading = n.AddStyle(QStringLiteral("{S-2}"), QStringLiteral("h1"));
    heading.SetField(StyleFontSize, Length(18, NdbUnitPx));
    heading.SetField(StyleColor, Color(0x20, 0x20, 0x20));
    CNdbStyle& boxed = n.AddStyle(QStringLiteral("{S-3}"), QStringLiteral("c1"));
    boxed.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{RES-BG}")));
    boxed.SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("border:1px solid #808080;padding:2px;")));

    n.resources = {{QStringLiteral("{RES-PHOTO}"), QStringLiteral("img/photo.jpg")},
                   {QStringLiteral("{RES-BG}"), QStringLiteral("img/bg.png")},
                   {QStringLiteral("{RES-FILE}"), QStringLiteral("files/prices.pdf")}};

    n.SetSenderText(SenderEmailField, QStringLiteral("news@example.com"));
    n.SetSenderText(SenderSiteUrlField, QStringLiteral("http://www.example.com"));
    n.SetSenderText(SenderWebViewFolderField, QStringLiteral(" /news/ "));
    n.SetSenderText(SenderSiteTypeField, QStringLiteral("php"));
    n.SetSenderBool(SenderDynamicServicesField, true);
    n.SetSenderBool(SenderWebViewField, true);
    n.SetSenderBool(SenderTrackingField, true);
    n.SetSenderBool(SenderDynamicListField, true);
    n.SetSenderText(SenderUnsubscribeTextField, QStringLiteral("You left our list.\r\nSorry to see you go!"));
}

inline std::map<QString, QString> FixtureTrackers()
{
    return {{QStringLiteral("http://example.com/offer"), QStringLiteral("T42")}};
}
} // namespace fixture
