#pragma once

#include "gre/FolderHttpServer.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A small newsletter-like site in a temporary folder, served on 127.0.0.1: a page inside the
// folder "news/" with a linked sheet that imports another and has a dark-scheme block, an embedded
// sheet, images (one used twice, one referenced from the site root, one as a background), a
// script, a form and events.
class NewsletterSite
{
public:
    static constexpr const char* PagePath = "news/issue.html";
    static constexpr const char* Logo = "\x89PNG logo bytes";
    static constexpr const char* Photo = "\x89PNG photo bytes";
    static constexpr const char* Pattern = "GIF89a pattern bytes";

    NewsletterSite()
    {
        Write("news/issue.html", Page());
        Write("news/css/site.css", "@import url(\"css/reset.css\");\n"
                                   "/*////// TYPE //////*/\n"
                                   "p { color: #336699; font-size: 14px; font-family: Georgia }\n"
                                   "h1 { color: navy; background-color: #FFEECC }\n"
                                   ".note { color: #aa0000 }\n"
                                   "td.cell { color: #010203 }\n"
                                   "@media (prefers-color-scheme: dark) {\n"
                                   "  p { color: #ffffff }\n"
                                   "  .amount { color: #fefefe }\n"
                                   "}\n");
        Write("news/css/reset.css", "h2 { font-size: 18pt }\n");
        Write("news/untyped.css", "p { color: #ffffff }\n");
        Write("news/img/logo.png", Logo);
        Write("news/img/photo.png", Photo);
        Write("news/img/pattern.gif", Pattern);
        m_server = std::make_unique<FolderHttpServer>(m_dir.path());
    }

    QString Url(const QString& path) const { return m_server->Url(path); }
    QStringList RequestedPaths() const { return m_server->RequestedPaths(); }
    QString Folder() const { return m_dir.path(); }

    void Write(const QString& path, const QByteArray& bytes)
    {
        const QString full = m_dir.filePath(path);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

private:
    static QByteArray Page()
    {
        return R"html(<!DOCTYPE html>
<html><head><title>Spring issue</title>
<link rel="stylesheet" type="text/css" href="css/site.css">
<link rel="stylesheet" href="untyped.css">
<style type="text/css">@import url("css/print.css");
.lead { font-size: 12pt; color: #00ff00 } .FootNote { color: #0000aa }</style>
<script>document.title = 'changed by the page';</script>
</head>
<body onload="track()">
<!-- tracking comment -->
<h1 onclick="go()">Spring news</h1>
<p class="lead">Welcome to <b>our</b> <i>spring</i> issue.</p>
<p style="font-family: &quot;Nunito Sans&quot;, sans-serif; color: #123456">Own colour.</p>
<p class="note">Class wins.</p>
<center>Centred</center>
<font color="red">font text</font>
<form action="/x"><input name="q">form text</form>
<img src="img/logo.png" alt="Logo" onmouseover="x()">
<img src="/img/logo.png" alt="Logo again">
<img src="img/photo.png?v=2">
<img src="img/missing.png">
<div style="background-image: url(img/pattern.gif)">Patterned</div>
<table><tr><td class="cell">Cell</td><td class="amount">12.00</td></tr></table>
<p class="FootNote">Small print</p>
<script>var secret = 1;</script>
</body></html>
)html";
    }

    QTemporaryDir m_dir;
    std::unique_ptr<FolderHttpServer> m_server;
};
