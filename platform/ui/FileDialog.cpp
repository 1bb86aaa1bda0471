#include "platform/ui/FileDialog.h"

#include "platform/ui/Wnd.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

CFileDialog::CFileDialog(bool openFileDialog, const QString&, const QString& fileName, DWORD flags,
                         const QString& filter, CWnd* parent)
    : m_open(openFileDialog), m_multiple(openFileDialog && (flags & OFN_ALLOWMULTISELECT)),
      m_fileName(fileName), m_filter(filter), m_parent(parent)
{
}

QStringList CFileDialog::ToNameFilters(const QString& filter)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
    {
        // Qt reads the patterns from the parentheses at the end, separated by blanks.
        QString description = parts[i];
        description.remove(trailingPatterns);
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        nameFilters << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return nameFilters;
}

int CFileDialog::DoModal()
{
    QFileDialog dialog(m_parent ? m_parent->GetSafeHwnd() : nullptr);
    // The program's own dialog: the same everywhere, and reachable by the tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(m_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_multiple ? QFileDialog::ExistingFiles
                       : m_open   ? QFileDialog::ExistingFile
                                  : QFileDialog::AnyFile);
    dialog.setNameFilters(ToNameFilters(m_filter));
    if (!m_fileName.isEmpty())
    {
        const QFileInfo initial(m_fileName);
        // A folder opens the dialog inside it, with no file named.
        if (initial.isAbsolute() && initial.isDir())
            dialog.setDirectory(initial.absoluteFilePath());
        else
        {
            if (initial.isAbsolute())
                dialog.setDirectory(initial.absolutePath());
            dialog.selectFile(initial.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_pathNames = dialog.selectedFiles();
    m_pathName = m_pathNames.constFirst();
    return IDOK;
}

QString CFileDialog::GetFileExt() const
{
    const QString name = QFileInfo(m_pathName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString BrowseForFolder(CWnd* parent, const QString& title, const QString& start)
{
    QFileDialog browser(parent ? parent->GetSafeHwnd() : nullptr, title, start);
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty())
        return {};
    const QString folder = browser.selectedFiles().constFirst();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}
