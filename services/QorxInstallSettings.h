#pragma once

#include <QString>

// What the installation of a framework package is given: the values that fill the package's
// files, the administrator's credentials for the status queries, the FTP access to the site and
// the address of the package's own service page.
struct QorxInstallSettings
{
    QString databaseServerUrl;
    QString databaseName;
    QString databaseUserName;
    QString databasePassword;
    QString smtpServer;
    QString smtpUserName;
    QString smtpPassword;
    QString adminUserName;
    QString adminPassword;
    QString adminEmail;
    QString websiteUrl;
    QString ftpServer;
    int ftpPort{21};
    QString ftpUserName;
    QString ftpPassword;
    QString ftpRemoteDirectory; // the web root on the FTP server
    QString serviceUrl;
};
