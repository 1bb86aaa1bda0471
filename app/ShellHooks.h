#pragma once

#include <QString>

#include <functional>

class CConceptTemplateFolder;
class CKVContext;
class CWnd;
struct NewsletterStart;

// The steps of the shell that run dialogs of other parts of the program. Each part installs its
// dialog here at start-up; until then the shell goes on as if the dialog had nothing to do.
struct ShellHooks
{
    // The update dialog, automatic at start-up (no parent) or asked for from the Tools menu:
    // true when the program must end.
    std::function<bool(CWnd* parent, bool automatic)> runUpdate = [](CWnd*, bool) { return false; };
    // The site accounts dialog of the Tools menu.
    std::function<void(CWnd* parent)> runSiteAccounts = [](CWnd*) {};
    // The dialogs that name a new empty newsletter and a new mailing list: false when cancelled.
    std::function<bool(CWnd* parent, QString& name, QString& folder)> askNewNewsletter =
        [](CWnd*, QString&, QString&) { return false; };
    std::function<bool(CWnd* parent, QString& name, QString& folder)> askNewMailingList =
        [](CWnd*, QString&, QString&) { return false; };

    // The Create Newsletter dialog over the catalogue (online: read from the store): false when
    // cancelled.
    std::function<bool(CWnd* parent, CConceptTemplateFolder& catalogue, bool online, NewsletterStart& start)>
        chooseNewsletterStart = [](CWnd*, CConceptTemplateFolder&, bool, NewsletterStart&) { return false; };

    // The Intro Menu: the command it ended with, or IDCANCEL (2), which is also the answer while
    // no menu is installed.
    std::function<unsigned(CKVContext* context, CWnd* parent)> runIntroMenu = [](CKVContext*, CWnd*)
    { return 2u; };

    // The update file named on the command line ("-updateforvista:"), for the update dialog.
    QString updateFile;

    static ShellHooks& Get();
};
