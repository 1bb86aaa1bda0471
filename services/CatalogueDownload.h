#pragma once

#include <QtGlobal>

class CConceptTemplateFile;
class QTemporaryFile;

// How fetching a store file of the catalogue ended.
enum class CatalogueDownload
{
    Done,
    NoFileInformation, // the store did not confirm the file
    BadAddress,        // its download address cannot be parsed
    Failed,            // no reply, a status other than 200, or a body over the bound
    NotWritable,       // the temporary file cannot be written
    Mismatch,          // size or digest differ from what the store stated
};

// Asks the store for the file's information (kind 0 templates, others effects), downloads the
// file into the temporary file, which it opens and closes again, and checks the size and MD5 the
// store states. The caller's temporary file removes itself on every path.
CatalogueDownload DownloadCatalogueFile(CConceptTemplateFile& file, int catalogueKind, qint64 maxSize,
                                        QTemporaryFile& into);
