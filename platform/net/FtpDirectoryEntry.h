#pragma once

#include <QString>

// One entry of a folder listing of an FTP server.
struct FtpDirectoryEntry
{
    QString name;
    bool directory{false};
};
