#include "recipients/UserImport.h"

#include "ndb/NdbUser.h"
#include "ndb/NdbUserList.h"
#include "platform/core/AppStrings.h"
#include "recipients/DlgUserImportMap.h"
#include "recipients/UserImportProfile.h"

#include <array>
#include <memory>

namespace
{
bool IsFlagField(int code)
{
    return code == ndb::UserHtmlMail || code == ndb::UserBlocked || code == ndb::UserEnabled;
}

bool EqualsWord(const QString& text, const QString& word)
{
    return !word.isEmpty() && text.compare(word, Qt::CaseInsensitive) == 0;
}

bool EqualsAny(const QString& text, std::initializer_list<QString> words)
{
    for (const QString& word : words)
    {
        if (EqualsWord(text, word))
            return true;
    }
    return false;
}
} // namespace

bool ParseImportBoolean(const QString& text, bool defaultValue)
{
    const QString word = text.trimmed();
    if (EqualsAny(word, {QStringLiteral("true"), QStringLiteral("yes"), QStringLiteral("1")}))
        return true;
    if (EqualsAny(word, {QStringLiteral("false"), QStringLiteral("no"), QStringLiteral("0")}))
        return false;
    if (EqualsAny(word, {LoadAppString(14500), LoadAppString(14501)}))
        return true;
    if (EqualsAny(word, {LoadAppString(14502), LoadAppString(14503)}))
        return false;
    return defaultValue;
}

void CUserImport::Import(ndb::CNdbUserList& target, const TextRows& rows)
{
    CUserImportProfile profile;
    CDlgUserImportMap dialog(profile, rows, target);
    if (dialog.DoModal() != IDOK)
        return;
    CreateUsers(profile, rows, dialog.IsFirstRowHeader(), target);
}

void CUserImport::CreateUsers(const CUserImportProfile& profile, const TextRows& rows, bool firstRowIsHeader,
                              ndb::CNdbUserList& target)
{
    for (qsizetype r = firstRowIsHeader ? 1 : 0; r < rows.size(); ++r)
    {
        const QStringList& row = rows[r];
        auto user = std::make_unique<ndb::CNdbUser>();
        bool used = false;
        for (const auto& [code, column] : profile.GetMapping())
        {
            if (column < 0 || column >= row.size() || code == ndb::UserColorLabel)
                continue;
            used = true;
            // A blocked column that says nothing clear must not block anyone.
            if (IsFlagField(code))
                user->SetField(
                    code, ndb::CNdbFieldValue(ndb::NdbValueBool,
                                              ParseImportBoolean(row[column], code != ndb::UserBlocked)));
            else
                user->SetField(code, ndb::CNdbFieldValue(row[column]));
        }
        if (used)
            target.AddUser(std::move(user));
    }
}
