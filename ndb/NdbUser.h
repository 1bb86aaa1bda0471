#pragma once

#include "ndb/NdbFieldBase.h"

namespace ndb
{
// The merge fields of a newsletter ("fc_" and the id) and the recipient import name these ids.
enum USERFIELDS
{
    UserId = 100, // GUID text; the envelope sender carries it and the bounce check looks for it
    UserEmail = 110,
    UserTitle = 120,
    UserFirstName = 130,
    UserMiddleName = 140,
    UserLastName = 150,
    UserSuffix = 160,
    UserCompany = 170,
    UserDepartment = 180,
    UserBusinessPhone = 190,
    UserHomePhone = 200,
    UserMobilePhone = 210,
    UserFax = 220,
    UserAddress = 230,
    UserCity = 240,
    UserState = 250,
    UserZip = 260,
    UserCountry = 270,
    UserUrl = 280,
    UserCustom1 = 290,
    UserCustom2 = 300,
    UserCustom3 = 310,
    UserCustom4 = 320,
    UserColorLabel = 600, // NdbColorLabel; absent: no label
    UserHtmlMail = 700,
    UserBlocked = 800, // absent: not blocked
    UserEnabled = 900, // absent: enabled
};

enum NdbColorLabel
{
    NdbLabelRed = 0,
    NdbLabelBlue = 1,
    NdbLabelPurple = 2,
    NdbLabelCyan = 3,
    NdbLabelWhite = 4,
    NdbLabelGreen = 5,
    NdbLabelYellow = 6,
    NdbLabelGray = 7,
};

// One recipient.
class CNdbUser : public CNdbFieldBase<USERFIELDS>
{
    KV_PERSISTENT_CLASS()
    // Gets a new identifier.
    CNdbUser();
    // Without an identifier: reading stores the archived one, or a new one when it has none.
    explicit CNdbUser(CPSReading) : CNdbFieldBase(NdbKindUser) {}
    CNdbUser(const CNdbUser&) = default;
    CNdbUser& operator=(const CNdbUser&) = default;

    // The field record; a recipient without an identifier gets a new one, in either direction.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;

    bool HasColorLabel() const;
    bool IsEnabled() const { return GetBool(UserEnabled, true); }
    bool IsBlocked() const { return GetBool(UserBlocked, false); }

private:
    void EnsureId();
};
} // namespace ndb
