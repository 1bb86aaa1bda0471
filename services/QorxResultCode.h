#pragma once

// The result of every operation of the web-service client and of the package installation: a
// plain int, 0 for success.
using QorxResultCode = int;

namespace QorxResult
{
enum : int
{
    Success = 0,
    AddressNotParsable = 1,
    FileNotOpened = 2,
    FileReadFailed = 3,
    RequestFailed = 4,       // not sent, or an HTTP status outside 200 to 299
    ReplyNotUsable = 5,      // not parsable, expected element missing, or a service's status not "ok"
    ManifestNotLoadable = 6, // also a manifest naming a file outside the package or the site folder
    ManifestWithoutFolder = 7,
    ManifestWithoutPackage = 8,
    NoDatabaseConnection = 9,
    TablesMissing = 10,
    FilledFileEmpty = 11,
    UploadFailed = 12,
    NewerVersionInstalled = 13,
    SettingNotSendable = 14, // a setting to be written into a package file holds a line break or NUL
    RegistrationNotConfirmed = 15,
    ServiceNotInstalled = 16,
    Refused = 18, // the framework's status is not "ok": wrong user name or password
};
} // namespace QorxResult
