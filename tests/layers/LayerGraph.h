#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// The folders of the layer table, bottom first; lines starting with "#" are comments.
QStringList ReadLayerOrder(const QString& tableFile);

// The folder of the order that holds a path relative to the root (the longest that matches);
// empty for a path in none of them.
QString LayerOf(const QStringList& order, const QString& path);

// The library a folder of the order builds: "kv_" and its path with "/" as "_".
QString LibraryOf(const QString& folder);

struct IncludeLine
{
    QString file; // relative to the root
    int line = 0;
    QString target; // the included path, relative to the root
    QString fromLayer;
    QString toLayer; // empty when the target lies in no folder of the order
};

// Every quoted #include of the headers and sources under the folders of the order. A target is
// looked up beside the including file first and then under the root, as the compiler does.
std::vector<IncludeLine> ReadIncludes(const QString& root, const QStringList& order);

// The folders each library of the order links directly, read from lines "folder: link;link;..."
// (what CMake declares); links that are no library of the order are left out.
std::map<QString, QStringList> ReadLinks(const QString& linkFile, const QStringList& order);
