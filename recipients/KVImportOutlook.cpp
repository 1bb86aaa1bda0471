#include "recipients/KVImportOutlook.h"

#include "base/TextHelpers.h"
#include "ndb/NdbUser.h"
#include "ndb/NdbUserList.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/Wnd.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace
{
// Opens a ".vcf" file like any file dialog; "Open" on a folder, or with nothing chosen in one,
// takes the folder instead of entering it.
class ContactsSourceDialog : public QFileDialog
{
public:
    explicit ContactsSourceDialog(QWidget* parent) : QFileDialog(parent)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
        setNameFilters({QStringLiteral("vCard (*.vcf *.vcard)"), QStringLiteral("* (*)")});
    }

    QString GetChosen() const { return m_chosen; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        const QString path = files.isEmpty() ? directory().absolutePath() : files.constFirst();
        if (QFileInfo(path).isDir())
        {
            m_chosen = path;
            done(QDialog::Accepted);
            return;
        }
        m_chosen = path;
        QFileDialog::accept();
    }

private:
    QString m_chosen;
};

bool ReadCardFile(const QString& path, qsizetype& budget, QList<VCard>& cards)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > budget)
        return false;
    const QByteArray bytes = file.readAll();
    budget -= bytes.size();
    return ReadVCards(bytes, cards);
}

const VCardProperty* FindPreferred(const VCard& card, const QString& name)
{
    const VCardProperty* first = nullptr;
    for (const VCardProperty& property : card.properties)
    {
        if (property.name != name)
            continue;
        if (property.preferred)
            return &property;
        if (!first)
            first = &property;
    }
    return first;
}

bool HasType(const VCardProperty& property, const char* type)
{
    return property.types.contains(QLatin1String(type), Qt::CaseInsensitive);
}

// Which recipient field a telephone number fills, by its types; 0 for none.
int PhoneField(const VCardProperty& phone)
{
    if (HasType(phone, "CELL"))
        return ndb::UserMobilePhone;
    if (HasType(phone, "PAGER"))
        return 0;
    if (HasType(phone, "FAX"))
        return HasType(phone, "HOME") ? 0 : ndb::UserFax;
    if (HasType(phone, "WORK"))
        return ndb::UserBusinessPhone;
    if (HasType(phone, "HOME"))
        return ndb::UserHomePhone;
    return 0;
}

// The work address, else the first one.
const VCardProperty* FindAddress(const VCard& card)
{
    const VCardProperty* first = nullptr;
    for (const VCardProperty& property : card.properties)
    {
        if (property.name != u"ADR")
            continue;
        if (HasType(property, "WORK"))
            return &property;
        if (!first)
            first = &property;
    }
    return first;
}

QString Component(const QStringList& components, int index)
{
    return index < components.size() ? components[index] : QString();
}

// The address of a display name written as "Name (address)"; empty when it holds none.
QString AddressInDisplayName(const QString& displayName)
{
    const qsizetype open = displayName.indexOf(u'(');
    if (open < 0 || open + 1 >= displayName.size())
        return {};
    const QString rest = displayName.mid(open + 1);
    const qsizetype close = rest.indexOf(u')');
    if (close < 0)
        return {};
    const QString address = rest.left(close).trimmed();
    return IsValidEmailAddress(address) ? address : QString();
}

QString ReadAddress(const VCard& card)
{
    const VCardProperty* email = FindPreferred(card, QStringLiteral("EMAIL"));
    const QString address = email ? card.Text(*email).trimmed() : QString();
    if (IsValidEmailAddress(address))
        return address;
    const VCardProperty* name = card.Find(QStringLiteral("FN"));
    const QString fromName = name ? AddressInDisplayName(card.Text(*name)) : QString();
    return fromName.isEmpty() ? address : fromName;
}

std::map<int, QString> ReadFields(const VCard& card)
{
    std::map<int, QString> fields;
    for (int code = ndb::UserTitle; code <= ndb::UserCustom4; code += 10)
        fields[code];
    if (const VCardProperty* name = card.Find(QStringLiteral("N")))
    {
        const QStringList parts = card.Components(*name);
        fields[ndb::UserLastName] = Component(parts, 0);
        fields[ndb::UserFirstName] = Component(parts, 1);
        fields[ndb::UserMiddleName] = Component(parts, 2);
        fields[ndb::UserSuffix] = Component(parts, 4);
    }
    if (const VCardProperty* title = card.Find(QStringLiteral("TITLE")))
        fields[ndb::UserTitle] = card.Text(*title);
    if (const VCardProperty* org = card.Find(QStringLiteral("ORG")))
    {
        const QStringList parts = card.Components(*org);
        fields[ndb::UserCompany] = Component(parts, 0);
        fields[ndb::UserDepartment] = Component(parts, 1);
    }
    for (const VCardProperty& property : card.properties)
    {
        const int code = property.name == u"TEL" ? PhoneField(property) : 0;
        if (code != 0 && fields[code].isEmpty())
            fields[code] = card.Text(property);
    }
    if (const VCardProperty* address = FindAddress(card))
    {
        const QStringList parts = card.Components(*address);
        fields[ndb::UserAddress] = Component(parts, 2);
        fields[ndb::UserCity] = Component(parts, 3);
        fields[ndb::UserState] = Component(parts, 4);
        fields[ndb::UserZip] = Component(parts, 5);
        fields[ndb::UserCountry] = Component(parts, 6);
    }
    if (const VCardProperty* url = card.Find(QStringLiteral("URL")))
        fields[ndb::UserUrl] = card.Text(*url);
    fields[ndb::UserEmail] = ReadAddress(card);
    return fields;
}
} // namespace

CKVImportOutlook::CKVImportOutlook(CWnd* parent)
    : m_picker(
          [parent]
          {
              ContactsSourceDialog dialog(parent ? parent->GetSafeHwnd() : nullptr);
              return dialog.exec() == QDialog::Accepted ? dialog.GetChosen() : QString();
          })
{
}

bool CKVImportOutlook::Import(ndb::CNdbUserList& target)
{
    const QString path = m_picker();
    WaitCursor wait;
    QList<VCard> cards;
    if (path.isEmpty() || !GetOutlookContactsFolder(path, cards))
        return false;
    return ReadOutlookContacts(cards, target);
}

bool GetOutlookContactsFolder(const QString& path, QList<VCard>& cards)
{
    const QFileInfo info(path);
    qsizetype budget = VCardLimits::MaxBytes;
    if (!info.isDir())
        return info.isFile() && ReadCardFile(path, budget, cards);
    const QStringList names =
        QDir(path).entryList({QStringLiteral("*.vcf"), QStringLiteral("*.vcard")},
                             QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names)
    {
        if (!ReadCardFile(QDir(path).filePath(name), budget, cards))
            return false;
    }
    return true;
}

bool ReadOutlookContacts(const QList<VCard>& cards, ndb::CNdbUserList& target)
{
    for (const VCard& card : cards)
    {
        if (!card.IsContact())
            continue;
        auto user = std::make_unique<ndb::CNdbUser>();
        for (const auto& [code, text] : ReadFields(card))
            user->SetField(code, ndb::CNdbFieldValue(text));
        target.AddUser(std::move(user));
    }
    return true;
}
