#pragma once

#include "support/ServerProcess.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

// A Python HTTP server on 127.0.0.1 that answers from routes the test sets, and keeps every
// request target exactly as it arrived: a stand-in for the web site's framework or the store.
class ScriptedHttpServer
{
public:
    struct Route
    {
        int status{200};
        QString body;
        QString type{QStringLiteral("text/xml; charset=utf-8")};
        int repeat{1}; // the body is sent so many times, then the suffix
        QString suffix{};
        QString mode{QStringLiteral("normal")}; // "silent": never answers; "endless": never stops
        QString file{};                         // when set, the bytes of this file are the body
    };

    // With a certificate and key the server speaks TLS only.
    explicit ScriptedHttpServer(const QString& certificate = {}, const QString& key = {})
    {
        m_routesPath = m_dir.filePath(QStringLiteral("routes.json"));
        m_logPath = m_dir.filePath(QStringLiteral("requests.log"));
        WriteRoutes();
        QStringList arguments{QStringLiteral("/usr/bin/python3"),
                              QStringLiteral(KV_SOURCE_DIR "/tests/support/scripted_http.py"), m_routesPath,
                              m_logPath};
        if (!certificate.isEmpty())
            arguments << certificate << key;
        if (!m_process.Start(arguments, m_dir.filePath(QStringLiteral("stderr.log")), true))
            ADD_FAILURE() << "the scripted HTTP server did not start";
    }

    int Port() const { return m_process.Port(); }
    QString Url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(path);
    }

    // Answers requests from now on: the key is a path, a path with "?cmd=" and the command the
    // query names, or "*" for every other request.
    void SetRoute(const QString& path, const Route& route)
    {
        QJsonObject object{{QStringLiteral("status"), route.status}, {QStringLiteral("body"), route.body},
                           {QStringLiteral("type"), route.type},     {QStringLiteral("repeat"), route.repeat},
                           {QStringLiteral("suffix"), route.suffix}, {QStringLiteral("mode"), route.mode}};
        if (!route.file.isEmpty())
            object.insert(QStringLiteral("file"), route.file);
        m_routes.insert(path, object);
        WriteRoutes();
    }
    void SetReply(const QString& path, const QString& xml, int status = 200)
    {
        Route route;
        route.status = status;
        route.body = xml;
        SetRoute(path, route);
    }

    // Request targets (path and query) in the order they arrived.
    QStringList Requests() const
    {
        QFile file(m_logPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void ClearRequests() const
    {
        QFile file(m_logPath);
        file.resize(0);
    }

private:
    void WriteRoutes()
    {
        QFile file(m_routesPath + QStringLiteral(".new"));
        if (file.open(QIODevice::WriteOnly))
            file.write(QJsonDocument(m_routes).toJson());
        file.close();
        // Replaced in one step: the server may read the routes at any moment.
        std::rename(QFile::encodeName(m_routesPath + QStringLiteral(".new")).constData(),
                    QFile::encodeName(m_routesPath).constData());
    }

    QTemporaryDir m_dir;
    QString m_routesPath;
    QString m_logPath;
    QJsonObject m_routes;
    ServerProcess m_process;
};
