#pragma once

#include "platform/ui/WinTypes.h"

#include <QString>
#include <QStringList>

class CWnd;

constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

// The file-open and file-save dialog. The filter lists pairs of a description and its
// semicolon-separated patterns, each followed by "|", and ends in a second "|":
// "Newsletter files (*.kvnl)|*.kvnl|All (*.*)|*.*||". The dialog never adds an extension and
// never asks about overwriting: the caller decides both.
class CFileDialog
{
public:
    CFileDialog(bool openFileDialog, const QString& defaultExtension, const QString& fileName, DWORD flags,
                const QString& filter, CWnd* parent);

    // IDOK when a file was chosen, else IDCANCEL.
    int DoModal();
    QString GetPathName() const { return m_pathName; }
    // Every chosen file, in the order chosen; with OFN_ALLOWMULTISELECT there may be several.
    QStringList GetPathNames() const { return m_pathNames; }
    // The chosen file's extension without its dot; empty when it has none.
    QString GetFileExt() const;

    // The Qt name filters of a filter text, in its order.
    static QStringList ToNameFilters(const QString& filter);

private:
    bool m_open;
    bool m_multiple;
    QString m_fileName;
    QString m_filter;
    CWnd* m_parent;
    QString m_pathName;
    QStringList m_pathNames;
};

// Asks for a folder, starting in the given one. The chosen folder ends in "/"; empty when the
// user cancelled.
QString BrowseForFolder(CWnd* parent, const QString& title, const QString& start);
