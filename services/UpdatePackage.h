#pragma once

#include <QString>

// One package of the store's update reply.
struct UpdatePackage
{
    bool files = false; // "files" for the data folder; a "patch" goes into the program folder
    int id = 0;
    QString name;
    QString description;
    QString fileUrl;
    int size = 0; // the exact size of the zip file in bytes
    QString md5;  // its digest, 32 hexadecimal digits
    int bytesDownloaded = 0;
};
