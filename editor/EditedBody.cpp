#include "editor/EditedBody.h"

#include "webserver/NewsletterPage.h"
#include "x2/X2Validator.h"

bool MakeStoredLayout(const QString& bodyMarkup, int serverPort, QString& layout)
{
    QString markup = bodyMarkup;
    for (const char* host : {"localhost", "127.0.0.1"})
        markup.remove(QStringLiteral("http://%1:%2/").arg(QLatin1String(host)).arg(serverPort));
    CX2Validator document;
    if (!document.ParseHtml(markup))
        return false;
    DropSavedEditorStyle(document);
    layout.clear();
    if (!document.WriteHtml(layout))
        return false;
    // The page around the body adds line breaks at its ends; kept, they would pile up at each save.
    layout = layout.trimmed();
    return true;
}
