#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Validates XHTML against the W3C DTDs installed on this machine (no network). Empty when the
// document is valid, otherwise xmllint's report.
inline QString XhtmlValidationErrors(const QByteArray& document)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1").arg(path);
    file.write(document);
    file.close();
    QProcess xmllint;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XML_CATALOG_FILES"),
                       QStringLiteral("/usr/share/xml/w3c-sgml-lib/schema/dtd/catalog.xml"));
    xmllint.setProcessEnvironment(environment);
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start(QStringLiteral("xmllint"),
                  {QStringLiteral("--nonet"), QStringLiteral("--noout"), QStringLiteral("--valid"), path});
    if (!xmllint.waitForFinished(30000))
        return QStringLiteral("xmllint did not run");
    const QString report = QString::fromUtf8(xmllint.readAll());
    return xmllint.exitCode() == 0 && report.isEmpty()
               ? QString()
               : report + QStringLiteral("(exit %1)").arg(xmllint.exitCode());
}
