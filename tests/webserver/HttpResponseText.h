#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// A response as it came over the wire, split into status line, header lines in order and body.
struct HttpResponseText
{
    QByteArray statusLine;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool complete{false};

    static HttpResponseText Parse(const QByteArray& bytes)
    {
        HttpResponseText response;
        const qsizetype end = bytes.indexOf("\r\n\r\n");
        if (end < 0)
            return response;
        const QList<QByteArray> lines = bytes.left(end).split('\n');
        response.statusLine = lines.value(0).chopped(lines.value(0).endsWith('\r') ? 1 : 0);
        for (qsizetype i = 1; i < lines.size(); ++i)
        {
            QByteArray line = lines.at(i);
            if (line.endsWith('\r'))
                line.chop(1);
            const qsizetype colon = line.indexOf(": ");
            response.headers.append({line.left(colon), line.mid(colon + 2)});
        }
        response.body = bytes.mid(end + 4);
        response.complete = true;
        return response;
    }

    QByteArray Header(const QByteArray& name) const
    {
        for (const auto& [key, value] : headers)
        {
            if (key.compare(name, Qt::CaseInsensitive) == 0)
                return value;
        }
        return {};
    }

    QList<QByteArray> HeaderNames() const
    {
        QList<QByteArray> names;
        for (const auto& header : headers)
            names.append(header.first);
        return names;
    }
};
