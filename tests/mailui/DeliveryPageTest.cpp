// The Delivery page of the e-mail settings and its More Settings dialog, as the user meets them.
#include "EmailSettingsSupport.h"

#include "base/AppSettings.h"
#include "mail/KVSmtpServer.h"
#include "mail/ScriptedSmtp.h"
#include "mailui/EmailSettingsSheet.h"
#include "peers/AiosmtpdServer.h"
#include "peers/DnsmasqServer.h"
#include "peers/DovecotServer.h"
#include "peers/SmtpSinkServer.h"
#include "platform/net/DnsQuery.h"

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>

using namespace ndb;
using namespace EmailSettingsTest;
using DialogTest::ClickButton;
using DialogTest::ModalScript;
using DialogTest::SaveArtifact;
using DialogTest::WriteTextArtifact;
using ServicesUi::Click;
using ServicesUi::ClickBox;
using ServicesUi::Item;
using ServicesUi::Type;

namespace
{
constexpr int IdDirect = 1054;
constexpr int IdRelay = 1060;
constexpr int IdRelayServer = 1042;
constexpr int IdCommonServers = 1651;
constexpr int IdThrottle = 1098;
constexpr int IdPauseAfter = 1599;
constexpr int IdPauseSeconds = 1105;
constexpr int IdAuthentication = 1097;
constexpr int IdRelayUser = 1159;
constexpr int IdRelayPassword = 1161;
constexpr int IdCheckDirect = 1192;
constexpr int IdCheckRelay = 1181;
constexpr int IdBounces = 1601;
constexpr int IdPop3Server = 1163;
constexpr int IdPop3User = 1164;
constexpr int IdPop3Password = 1111;
constexpr int IdCheckPop3 = 1186;
constexpr int IdMoreSettings = 1184;
constexpr int IdCopySettings = 1578;

constexpr int IdCustomDomain = 1611;
constexpr int IdDomain = 1158;
constexpr int IdSmtpPort = 1598;
constexpr int IdPop3Port = 1600;
constexpr int IdConnections = 1103;

const QString MoreSettingsTitle = QStringLiteral("Email Settings - Delivery - More Settings");
const QString RelayPassword = QStringLiteral("rel\u00e4y-Secret-7");
const QString Pop3Password = QStringLiteral("pop-Secret-9");

// Moves the combo's choice with the arrow keys, as the user does.
void PressDown(QComboBox* combo, int times)
{
    combo->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

bool IsChecked(const CWnd& window, int id)
{
    return qobject_cast<QAbstractButton*>(Item(window, id))->isChecked();
}

void SetChecked(const CWnd& window, int id, bool checked)
{
    if (IsChecked(window, id) != checked)
        ClickBox(window, id);
}

// "1" when every control of the group is enabled, "0" when none is, "mixed" otherwise.
QString GroupState(const CWnd& page, std::initializer_list<int> ids)
{
    int enabled = 0;
    for (const int id : ids)
        enabled += Item(page, id)->isEnabled() ? 1 : 0;
    return enabled == int(ids.size()) ? QStringLiteral("1") : enabled == 0 ? QStringLiteral("0") : "mixed";
}

QString Rules(const CWnd& page)
{
    return QStringLiteral("relay=%1 link=%2 direct=%3 login=%4 throttle=%5 pop3=%6")
        .arg(GroupState(page, {1607, IdRelayServer, IdAuthentication, IdThrottle, IdCheckRelay}))
        .arg(Item(page, IdCommonServers)->isVisible() ? 1 : 0)
        .arg(GroupState(page, {IdCheckDirect}))
        .arg(GroupState(page, {1605, IdRelayUser, 1606, IdRelayPassword}))
        .arg(GroupState(page, {1608, IdPauseAfter, 1609, IdPauseSeconds}))
        .arg(GroupState(page, {1602, IdPop3Server, 1603, IdPop3User, 1604, IdPop3Password, IdCheckPop3}));
}

void ExpectInt(const CNdbSender& sender, int id, int tag, int value)
{
    CNdbFieldValue stored;
    ASSERT_TRUE(sender.GetField(id, stored)) << id;
    EXPECT_EQ(stored.GetType(), tag) << id;
    EXPECT_EQ(stored.GetInt(), value) << id;
}

// Every field as id, tag and value, for comparing whole records.
QString Fields(const CNdbSender& sender)
{
    QString text;
    for (const auto& [id, value] : sender.GetFields())
        text += QStringLiteral("%1:%2:%3:%4\n")
                    .arg(id)
                    .arg(value.GetType())
                    .arg(value.GetInt())
                    .arg(value.GetString());
    return text;
}

class DeliveryPageTest : public EmailSettingsFixture
{
protected:
    // Opens More Settings from the page, lets the step fill it and confirms it.
    void AddMoreSettings(ModalScript& script, EmailSettingsSheet& sheet, std::function<void(CWnd&)> fill)
    {
        script.ThenTitled(MoreSettingsTitle,
                          [fill](QWidget* window)
                          {
                              fill(*CWnd::FromHandle(window));
                              ClickButton(window, QStringLiteral("OK"));
                          });
        script.ThenAgain(IsSheet(sheet), [](QWidget*) {});
    }

    // A click on a Check button, the message it must give, and back to the sheet.
    void AddCheck(ModalScript& script, EmailSettingsSheet& sheet, std::function<void()> prepare, int button,
                  const QString& expected)
    {
        script.ThenAgain(IsSheet(sheet),
                         [&sheet, prepare, button](QWidget*)
                         {
                             prepare();
                             Click(sheet.Delivery(), button);
                         });
        script.ThenShowing(expected, [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
    }

    std::unique_ptr<CNdbNewsletter> SavedAndReopened()
    {
        const QString path = m_dir.filePath(QStringLiteral("letter.kvnl"));
        SaveNewsletter(m_newsletter, path);
        auto reopened = std::make_unique<CNdbNewsletter>();
        EXPECT_TRUE(reopened->Load(path));
        return reopened;
    }
};
} // namespace

TEST(DeliveryPage, PauseTextsCountSecondsBelowAMinuteAndWholeMinutesAbove)
{
    ServicesUi::ScopedSettings settings;
    const std::pair<int, const char*> cases[] = {
        {1, "1 second"},   {2, "2 seconds"},   {45, "45 seconds"},   {60, "1 minute"},
        {119, "1 minute"}, {120, "2 minutes"}, {1800, "30 minutes"}, {3600, "60 minutes"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(CPageSenderSendOptions::PauseText(seconds), QString::fromLatin1(text)) << seconds;
}

TEST_F(DeliveryPageTest, EnableRulesFollowTheMethodAndTheBoxes)
{
    const struct
    {
        bool relay, login, throttle, bounces;
        const char* expected;
    } rules[] = {
        {false, false, false, false, "relay=0 link=0 direct=1 login=0 throttle=0 pop3=0"},
        {false, true, true, true, "relay=0 link=0 direct=1 login=0 throttle=0 pop3=1"},
        {true, false, false, false, "relay=1 link=1 direct=0 login=0 throttle=0 pop3=0"},
        {true, true, false, false, "relay=1 link=1 direct=0 login=1 throttle=0 pop3=0"},
        {true, false, true, true, "relay=1 link=1 direct=0 login=0 throttle=1 pop3=1"},
        {true, true, true, true, "relay=1 link=1 direct=0 login=1 throttle=1 pop3=1"},
        // Direct delivery last, with the relay's boxes ticked: they are kept, only disabled.
        {false, true, true, false, "relay=0 link=0 direct=1 login=0 throttle=0 pop3=0"},
    };
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    CPageSenderSendOptions& page = sheet.Delivery();
                    QString table = QStringLiteral("method login throttle bounces | enabled\n");
                    EXPECT_EQ(Rules(page), rules[0].expected) << "a new record: direct, nothing ticked";
                    for (const auto& rule : rules)
                    {
                        ClickBox(page, IdRelay); // the relay's boxes can be ticked only while it is chosen
                        SetChecked(page, IdAuthentication, rule.login);
                        SetChecked(page, IdThrottle, rule.throttle);
                        SetChecked(page, IdBounces, rule.bounces);
                        ClickBox(page, rule.relay ? IdRelay : IdDirect);
                        EXPECT_EQ(Rules(page), rule.expected);
                        table += QStringLiteral("%1 %2 %3 %4 | %5\n")
                                     .arg(rule.relay ? "relay " : "direct")
                                     .arg(rule.login)
                                     .arg(rule.throttle)
                                     .arg(rule.bounces)
                                     .arg(Rules(page));
                    }
                    WriteTextArtifact(QStringLiteral("email-settings-delivery-rules.txt"), table);
                    Click(sheet.Sheet(), IDOK);
                });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());
    const CNdbSender& sender = m_newsletter.Sender();
    ExpectInt(sender, SenderDelivery, NdbValueSenderKind, 0);
    EXPECT_TRUE(sender.GetBool(SenderRelayAuth, false)) << "a disabled box keeps its tick";
    EXPECT_TRUE(sender.GetBool(SenderPauseEnabled, false));
    EXPECT_FALSE(sender.GetBool(SenderBounceEnabled, true));
}

TEST_F(DeliveryPageTest, AnEmptyRecordShowsItsDefaultsAndStoresThemOnOk)
{
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    CPageSenderSendOptions& page = sheet.Delivery();
                    EXPECT_TRUE(IsChecked(page, IdDirect));
                    QComboBox* after = Combo(page, IdPauseAfter);
                    QComboBox* seconds = Combo(page, IdPauseSeconds);
                    EXPECT_EQ(ComboTexts(after), (QStringList{"1", "2", "3", "4", "5", "10", "15", "20", "25",
                                                              "50", "100", "250", "500", "1000"}));
                    EXPECT_EQ(ComboTexts(seconds),
                              (QStringList{"1 second", "2 seconds", "3 seconds", "4 seconds", "5 seconds",
                                           "10 seconds", "15 seconds", "20 seconds", "30 seconds",
                                           "45 seconds", "1 minute", "2 minutes", "3 minutes", "4 minutes",
                                           "5 minutes", "10 minutes", "30 minutes", "60 minutes"}));
                    EXPECT_EQ(after->currentText(), "5");
                    EXPECT_EQ(seconds->currentText(), "1 second");
                    Click(sheet.Sheet(), IDOK);
                });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());
    const auto reopened = SavedAndReopened();
    const CNdbSender& sender = reopened->Sender();
    ExpectInt(sender, SenderDelivery, NdbValueSenderKind, 0);
    ExpectInt(sender, SenderPauseAfter, NdbValueInt, 5);
    ExpectInt(sender, SenderPauseSeconds, NdbValueInt, 1);
    ExpectInt(sender, SenderRelayAuth, NdbValueBool, 0);
    CNdbFieldValue absent;
    EXPECT_FALSE(sender.GetField(SenderHeloDomain, absent)) << "only More Settings' OK writes the domain";
}

TEST_F(DeliveryPageTest, EveryFieldTypedReachesTheSavedNewsletterAndPasswordsStayMasked)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("clipboard before"));
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    CPageSenderSendOptions& page = sheet.Delivery();
                    ClickBox(page, IdRelay);
                    Type(page, IdRelayServer, QStringLiteral("relay.example.com"));
                    ClickBox(page, IdAuthentication);
                    Type(page, IdRelayUser, QStringLiteral("sender"));
                    Type(page, IdRelayPassword, RelayPassword);
                    ClickBox(page, IdThrottle);
                    PressDown(Combo(page, IdPauseAfter), 1);
                    PressDown(Combo(page, IdPauseSeconds), 9);
                    EXPECT_EQ(Combo(page, IdPauseAfter)->currentText(), "10");
                    EXPECT_EQ(Combo(page, IdPauseSeconds)->currentText(), "45 seconds");
                    ClickBox(page, IdBounces);
                    Type(page, IdPop3Server, QStringLiteral("pop.example.com"));
                    Type(page, IdPop3User, QStringLiteral("bounces"));
                    Type(page, IdPop3Password, Pop3Password);
                    for (const int id : {IdRelayPassword, IdPop3Password})
                    {
                        auto* edit = qobject_cast<QLineEdit*>(Item(page, id));
                        EXPECT_EQ(edit->echoMode(), QLineEdit::Password) << id;
                        edit->setFocus();
                        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
                    }
                    EXPECT_EQ(QGuiApplication::clipboard()->text(), "clipboard before");
                    SaveArtifact(sheet.Sheet(), QStringLiteral("email-settings-delivery.png"));
                    Click(page, IdMoreSettings);
                });
    script.ThenTitled(MoreSettingsTitle,
                      [&](QWidget* window)
                      {
                          CWnd& dialog = *CWnd::FromHandle(window);
                          EXPECT_FALSE(Item(dialog, IdDomain)->isEnabled());
                          EXPECT_EQ(ComboTexts(Combo(dialog, IdConnections)),
                                    (QStringList{"1", "5", "10", "25", "50", "100"}));
                          EXPECT_EQ(Combo(dialog, IdConnections)->currentText(), "1");
                          EXPECT_EQ(qobject_cast<QLineEdit*>(Item(dialog, IdSmtpPort))->text(), "25");
                          EXPECT_EQ(qobject_cast<QLineEdit*>(Item(dialog, IdPop3Port))->text(), "110");
                          ClickBox(dialog, IdCustomDomain);
                          EXPECT_TRUE(Item(dialog, IdDomain)->isEnabled());
                          Type(dialog, IdDomain, QStringLiteral("news.example.com"));
                          Type(dialog, IdSmtpPort, QStringLiteral("2525"));
                          Type(dialog, IdPop3Port, QStringLiteral("1995"));
                          PressDown(Combo(dialog, IdConnections), 3);
                          SaveArtifact(dialog, QStringLiteral("dialog_306.png"));
                          ClickButton(window, QStringLiteral("OK"));
                      });
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDOK); });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());

    const auto reopened = SavedAndReopened();
    const CNdbSender& sender = reopened->Sender();
    ExpectInt(sender, SenderDelivery, NdbValueSenderKind, 1);
    EXPECT_EQ(sender.GetString(SenderRelayServer), "relay.example.com");
    ExpectInt(sender, SenderRelayAuth, NdbValueBool, 1);
    EXPECT_EQ(sender.GetString(SenderRelayUser), "sender");
    EXPECT_EQ(sender.GetString(SenderRelayPassword), RelayPassword);
    ExpectInt(sender, SenderPauseEnabled, NdbValueBool, 1);
    ExpectInt(sender, SenderPauseAfter, NdbValueInt, 10);
    ExpectInt(sender, SenderPauseSeconds, NdbValueInt, 45);
    ExpectInt(sender, SenderBounceEnabled, NdbValueBool, 1);
    EXPECT_EQ(sender.GetString(SenderPop3Server), "pop.example.com");
    EXPECT_EQ(sender.GetString(SenderPop3User), "bounces");
    EXPECT_EQ(sender.GetString(SenderPop3Password), Pop3Password);
    EXPECT_EQ(sender.GetString(SenderHeloDomain), "news.example.com");
    ExpectInt(sender, SenderRelayPort, NdbValueInt, 2525);
    ExpectInt(sender, SenderPop3Port, NdbValueInt, 1995);
    ExpectInt(sender, SenderThreads, NdbValueInt, 25);
    ExpectNoArtifactHolds({RelayPassword, Pop3Password});
}

TEST_F(DeliveryPageTest, MoreSettingsRefusesPortsThatAreNoPortAndCancelChangesNothing)
{
    m_newsletter.Sender().SetField(SenderHeloDomain, CNdbFieldValue(QStringLiteral("kept.example")));
    m_newsletter.Sender().SetField(SenderThreads, CNdbFieldValue(NdbValueInt, 7));
    const CNdbSender before = m_newsletter.Sender();
    const std::pair<const char*, const char*> refused[] = {
        {"", "Please enter an integer."},
        {"0", "Please enter an integer between 1 and 65535."},
        {"65536", "Please enter an integer between 1 and 65535."},
    };
    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdMoreSettings); });
    script.ThenTitled(MoreSettingsTitle,
                      [&](QWidget* window)
                      {
                          CWnd& dialog = *CWnd::FromHandle(window);
                          EXPECT_TRUE(IsChecked(dialog, IdCustomDomain));
                          EXPECT_EQ(qobject_cast<QLineEdit*>(Item(dialog, IdDomain))->text(), "kept.example");
                          EXPECT_EQ(Combo(dialog, IdConnections)->currentIndex(), -1)
                              << "7 connections is no item";
                          Type(dialog, IdDomain, QString());
                          ClickButton(window, QStringLiteral("Cancel"));
                      });
    for (const auto& [text, message] : refused)
    {
        script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdMoreSettings); });
        script.ThenTitled(MoreSettingsTitle,
                          [text = QString::fromLatin1(text)](QWidget* window)
                          {
                              Type(*CWnd::FromHandle(window), IdPop3Port, text);
                              ClickButton(window, QStringLiteral("OK"));
                          });
        script.ThenShowing(QString::fromLatin1(message),
                           [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
        script.ThenAgain([](QWidget* w) { return w->windowTitle() == MoreSettingsTitle; },
                         [](QWidget* window) { ClickButton(window, QStringLiteral("Cancel")); });
    }
    // The custom domain left empty is stored empty: the engine then takes the From domain.
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdMoreSettings); });
    script.ThenTitled(MoreSettingsTitle,
                      [&](QWidget* window)
                      {
                          Type(*CWnd::FromHandle(window), IdDomain, QString());
                          ClickButton(window, QStringLiteral("OK"));
                      });
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDCANCEL); });
    script.Start();
    EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(m_newsletter.Sender().GetString(SenderHeloDomain), "kept.example");
    EXPECT_EQ(m_newsletter.Sender().GetInt(SenderThreads, 0), 7);
    EXPECT_EQ(Fields(m_newsletter.Sender()), Fields(before))
        << "Cancel of the sheet and of the dialog keeps the record";

    // The same once more, confirmed: an empty domain stays a stored field.
    EmailSettingsSheet confirmed(m_context, m_newsletter);
    ModalScript again;
    again.Then(IsSheet(confirmed), [&](QWidget*) { Click(confirmed.Delivery(), IdMoreSettings); });
    again.ThenTitled(MoreSettingsTitle,
                     [&](QWidget* window)
                     {
                         Type(*CWnd::FromHandle(window), IdDomain, QString());
                         ClickButton(window, QStringLiteral("OK"));
                     });
    again.ThenAgain(IsSheet(confirmed), [&](QWidget*) { Click(confirmed.Sheet(), IDOK); });
    again.Start();
    EXPECT_TRUE(confirmed.Run(EmailSettingsSheet::DeliveryPage));
    CNdbFieldValue domain;
    ASSERT_TRUE(m_newsletter.Sender().GetField(SenderHeloDomain, domain));
    EXPECT_EQ(domain.GetString(), "");
    EXPECT_EQ(m_newsletter.Sender().GetInt(SenderThreads, 0), 7) << "no connections item chosen";
}

TEST_F(DeliveryPageTest, RelayAndPop3ChecksTalkToRealServersWithThePortsOfTheWorkingRecord)
{
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DebugMode"), 1);
    const AiosmtpdServer accepting(QStringLiteral("sender"), RelayPassword);
    const AiosmtpdServer refusing(QStringLiteral("sender"), RelayPassword, {},
                                  AiosmtpdServer::Recipients::Refused);
    const DovecotServer mailbox(QStringLiteral("bounces"), Pop3Password, {});
    ASSERT_TRUE(accepting.IsRunning());
    ASSERT_TRUE(refusing.IsRunning());
    ASSERT_TRUE(mailbox.IsRunning()) << mailbox.Log().toStdString();
    const int nothing = PeerProcess::FreePort();
    m_newsletter.Sender().SetField(SenderDelivery, CNdbFieldValue(NdbValueSenderKind, 1));
    m_newsletter.Sender().SetField(SenderRelayServer, CNdbFieldValue(QStringLiteral("127.0.0.1")));
    m_newsletter.Sender().SetField(SenderBounceEnabled, CNdbFieldValue(NdbValueBool, true));
    m_newsletter.Sender().SetField(SenderPop3Server, CNdbFieldValue(QStringLiteral("127.0.0.1")));
    m_newsletter.Sender().SetField(SenderPop3User, CNdbFieldValue(QStringLiteral("bounces")));

    QStringList output;
    static QStringList* captured = nullptr;
    captured = &output;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { captured->append(message); });

    EmailSettingsSheet sheet(m_context, m_newsletter);
    CPageSenderSendOptions& page = sheet.Delivery();
    const auto smtpPort = [&](int port)
    {
        return [this, &sheet, port](ModalScript& script)
        {
            script.ThenAgain(IsSheet(sheet), [&sheet](QWidget*) { Click(sheet.Delivery(), IdMoreSettings); });
            AddMoreSettings(script, sheet,
                            [port](CWnd& dialog) { Type(dialog, IdSmtpPort, QString::number(port)); });
        };
    };
    const auto login = [&](bool ticked, const QString& password)
    {
        return [&page, ticked, password]
        {
            // The edits take typing only while the box is ticked; clearing it keeps their text.
            SetChecked(page, IdAuthentication, true);
            Type(page, IdRelayUser, QStringLiteral("sender"));
            Type(page, IdRelayPassword, password);
            SetChecked(page, IdAuthentication, ticked);
        };
    };
    ModalScript script;
    script.Then(IsSheet(sheet), [](QWidget*) {});
    smtpPort(accepting.Port())(script);
    AddCheck(script, sheet, login(true, RelayPassword), IdCheckRelay, "Successfully connected to server!");
    AddCheck(script, sheet, login(true, QStringLiteral("wrong")), IdCheckRelay, "Can't login.");
    // Without the box no login is tried, so a wrong password in the edit does no harm.
    AddCheck(script, sheet, login(false, QStringLiteral("wrong")), IdCheckRelay,
             "Successfully connected to server!");
    smtpPort(refusing.Port())(script);
    AddCheck(script, sheet, login(false, RelayPassword), IdCheckRelay,
             "Can't send emails through this server. Login might be required!");
    AddCheck(script, sheet, login(true, RelayPassword), IdCheckRelay,
             "Can't send emails through this server. Relaying is not allowed.");
    smtpPort(nothing)(script);
    AddCheck(script, sheet, login(true, RelayPassword), IdCheckRelay, "Can't connect to server.");

    const auto pop3Password = [&](const QString& password)
    { return [&page, password] { Type(page, IdPop3Password, password); }; };
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(page, IdMoreSettings); });
    AddMoreSettings(script, sheet,
                    [&](CWnd& dialog) { Type(dialog, IdPop3Port, QString::number(mailbox.Port())); });
    AddCheck(script, sheet, pop3Password(Pop3Password), IdCheckPop3, "Successfully connected to server!");
    AddCheck(script, sheet, pop3Password(QStringLiteral("wrong")), IdCheckPop3,
             "Invalid Username or Password.");
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(page, IdMoreSettings); });
    AddMoreSettings(script, sheet, [&](CWnd& dialog) { Type(dialog, IdPop3Port, QString::number(nothing)); });
    AddCheck(script, sheet, pop3Password(Pop3Password), IdCheckPop3, "Can't connect to server.");
    script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDCANCEL); });
    script.Start();

    EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(accepting.Messages().isEmpty()) << "a check sends no message";
    const QString everything = output.join(u'\n');
    EXPECT_FALSE(everything.contains(RelayPassword));
    EXPECT_FALSE(everything.contains(Pop3Password));
}

TEST_F(DeliveryPageTest, DirectCheckAsksTheConfiguredServerWhetherItMayTalkSmtp)
{
    const SmtpSinkServer sink;
    ASSERT_TRUE(sink.IsRunning());
    WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestServer"),
                          QStringLiteral("127.0.0.1"));
    const std::pair<int, const char*> cases[] = {
        {sink.Port(), "Success!\nDirect delivery of emails is allowed."},
        {PeerProcess::FreePort(),
         "Failed!\nDirect delivery of emails is not allowed. Please use a Relaying Mail Server(SMTP)."},
    };
    for (const auto& [port, message] : cases)
    {
        WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), quint32(port));
        EmailSettingsSheet sheet(m_context, m_newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdCheckDirect); });
        script.ThenShowing(QString::fromLatin1(message),
                           [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
        script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDCANCEL); });
        script.Start();
        EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
        EXPECT_TRUE(script.Finished()) << message;
    }
    EXPECT_TRUE(sink.Messages().isEmpty());
}

// A server that greets slowly keeps the check waiting, not the window: it repaints and takes
// input meanwhile, with Check off until the answer.
TEST_F(DeliveryPageTest, DirectCheckWaitsForASlowServerWithoutBlockingTheWindow)
{
    SmtpReplies replies;
    replies.greeting.clear();
    ScriptedMailServer server(
        [replies](ScriptedConnection& connection)
        {
            connection.Trickle("220 slow ESMTP\r\n", 100);
            SmtpScript(replies)(connection);
        });
    WriteAppSettingString(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestServer"),
                          QStringLiteral("127.0.0.1"));
    WriteAppSettingDword(HKEY_LOCAL_MACHINE, QStringLiteral("DirectTestPort"), quint32(server.Port()));
    EmailSettingsSheet sheet(m_context, m_newsletter);
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    bool offWhileChecking = false;
    ModalScript script;
    script.Then(IsSheet(sheet),
                [&](QWidget*)
                {
                    Click(sheet.Delivery(), IdCheckDirect);
                    offWhileChecking = !Item(sheet.Delivery(), IdCheckDirect)->isEnabled();
                    sinceTick.start();
                    ticker.start(10);
                });
    script.ThenShowing(QStringLiteral("Success!\nDirect delivery of emails is allowed."),
                       [&](QWidget* box)
                       {
                           ticker.stop();
                           ClickButton(box, QStringLiteral("OK"));
                       });
    script.ThenAgain(IsSheet(sheet),
                     [&](QWidget*)
                     {
                         EXPECT_TRUE(Item(sheet.Delivery(), IdCheckDirect)->isEnabled());
                         Click(sheet.Sheet(), IDCANCEL);
                     });
    script.Start();
    EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(offWhileChecking);
    // The greeting alone takes over a second and a half.
    EXPECT_LT(longestGap, 500);
}

// From a fresh settings folder the direct check asks the mail exchanger of the first enabled
// recipient's domain, else the one of the sender's domain, and fails where nothing listens.
TEST_F(DeliveryPageTest, DirectCheckAsksTheMailExchangerOfTheUsersOwnMail)
{
    const int port = PeerProcess::FreePort();
    const SmtpSinkServer readers(QStringLiteral("127.0.0.5"), port);
    const SmtpSinkServer senders(QStringLiteral("127.0.0.6"), port);
    const DnsmasqServer dns({"local=/test/", "mx-host=reader.test,mx.reader.test,10",
                             "host-record=mx.reader.test,127.0.0.5", "mx-host=sender.test,mx.sender.test,10",
                             "host-record=mx.sender.test,127.0.0.6", "mx-host=quiet.test,mx.quiet.test,10",
                             "host-record=mx.quiet.test,127.0.0.7"});
    ASSERT_TRUE(readers.IsRunning() && senders.IsRunning());
    ASSERT_TRUE(dns.IsRunning()) << dns.Log().toStdString();
    DnsQuery::SetNameServerForTesting(QStringLiteral("127.0.0.1"), dns.Port(), 1, 1);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(port);
    m_newsletter.Sender().SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("news@sender.test")));
    const QString allowed = QStringLiteral("Success!\nDirect delivery of emails is allowed.");
    const QString refused = QStringLiteral(
        "Failed!\nDirect delivery of emails is not allowed. Please use a Relaying Mail Server(SMTP).");
    const struct
    {
        QStringList recipients; // "-" before an address: not enabled
        QString message;
    } cases[] = {
        {{"-a@quiet.test", "b@reader.test"}, allowed},
        {{"a@nowhere.test"}, allowed},
        {{"a@quiet.test", "b@reader.test"}, refused},
    };
    for (const auto& c : cases)
    {
        m_newsletter.Users().DeleteAll();
        for (const QString& entry : c.recipients)
        {
            auto user = std::make_unique<CNdbUser>();
            user->SetField(UserEmail, CNdbFieldValue(entry.mid(entry.startsWith(u'-') ? 1 : 0)));
            if (entry.startsWith(u'-'))
                user->SetField(UserEnabled, CNdbFieldValue(NdbValueBool, 0));
            m_newsletter.Users().AddUser(std::move(user));
        }
        EmailSettingsSheet sheet(m_context, m_newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdCheckDirect); });
        script.ThenShowing(c.message, [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
        script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDCANCEL); });
        script.Start();
        EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
        EXPECT_TRUE(script.Finished()) << c.recipients.join(u' ').toStdString();
    }
    DnsQuery::SetNameServerForTesting(QString(), 53, 0, 0);
    CKVSmtpServer::SetDirectDeliveryPortForTesting(25);
    EXPECT_TRUE(readers.Messages().isEmpty());
}

// The relay check introduces itself with the HELO domain of More Settings, else with the
// domain of the sender's address.
TEST_F(DeliveryPageTest, RelayCheckAnnouncesTheSendersDomain)
{
    m_newsletter.Sender().SetField(SenderDelivery, CNdbFieldValue(NdbValueSenderKind, 1));
    m_newsletter.Sender().SetField(SenderRelayServer, CNdbFieldValue(QStringLiteral("127.0.0.1")));
    m_newsletter.Sender().SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("news@sender.test")));
    for (const char* helo : {"", "helo.example"})
    {
        if (*helo)
            m_newsletter.Sender().SetField(SenderHeloDomain, CNdbFieldValue(QString::fromLatin1(helo)));
        ScriptedMailServer relay(SmtpScript({}));
        m_newsletter.Sender().SetField(SenderRelayPort, CNdbFieldValue(NdbValueInt, relay.Port()));
        EmailSettingsSheet sheet(m_context, m_newsletter);
        ModalScript script;
        script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdCheckRelay); });
        script.ThenShowing(QStringLiteral("Successfully connected to server!"),
                           [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); });
        script.ThenAgain(IsSheet(sheet), [&](QWidget*) { Click(sheet.Sheet(), IDCANCEL); });
        script.Start();
        EXPECT_FALSE(sheet.Run(EmailSettingsSheet::DeliveryPage));
        EXPECT_TRUE(script.Finished());
        relay.Stop();
        ASSERT_FALSE(relay.Received().isEmpty());
        EXPECT_EQ(relay.Received().first(), *helo ? QByteArray("EHLO ") + helo : "EHLO sender.test");
    }
}

TEST_F(DeliveryPageTest, CopySettingsTakesTheDeliveryOfAnotherNewsletter)
{
    CNdbNewsletter source;
    source.SetField(NewsletterName, CNdbFieldValue(QStringLiteral("Autumn issue")));
    CNdbSender& from = source.Sender();
    from.SetField(SenderDelivery, CNdbFieldValue(NdbValueSenderKind, 1));
    from.SetField(SenderRelayServer, CNdbFieldValue(QStringLiteral("smtp.autumn.example")));
    from.SetField(SenderRelayAuth, CNdbFieldValue(NdbValueBool, true));
    from.SetField(SenderRelayUser, CNdbFieldValue(QStringLiteral("autumn")));
    from.SetField(SenderPauseEnabled, CNdbFieldValue(NdbValueBool, true));
    from.SetField(SenderPauseSeconds, CNdbFieldValue(NdbValueInt, 60));
    from.SetField(SenderPop3Server, CNdbFieldValue(QStringLiteral("pop.autumn.example")));
    from.SetField(SenderRelayPort, CNdbFieldValue(NdbValueInt, 587));
    from.SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("autumn@example.com")));
    const QString fixture = m_dir.filePath(QStringLiteral("autumn.kvnl"));
    SaveNewsletter(source, fixture);
    CNdbSender& target = m_newsletter.Sender();
    target.SetField(SenderHeloDomain, CNdbFieldValue(QStringLiteral("old.example")));
    target.SetField(SenderThreads, CNdbFieldValue(NdbValueInt, 50));
    target.SetField(SenderPauseAfter, CNdbFieldValue(NdbValueInt, 20));
    target.SetField(SenderFromAddress, CNdbFieldValue(QStringLiteral("mine@example.com")));

    EmailSettingsSheet sheet(m_context, m_newsletter);
    ModalScript script;
    script.Then(IsSheet(sheet), [&](QWidget*) { Click(sheet.Delivery(), IdCopySettings); })
        .Then(IsFileDialog, [&](QWidget* w) { ChooseFiles(w, {fixture}); })
        .ThenShowing(QStringLiteral("Are you sure you wish to import the settings from Autumn issue? "
                                    "The current settings will be overwritten."),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("Yes")); })
        .ThenShowing(QStringLiteral("Settings imported successfully"),
                     [](QWidget* box) { ClickButton(box, QStringLiteral("OK")); })
        .ThenAgain(IsSheet(sheet),
                   [&](QWidget*)
                   {
                       CPageSenderSendOptions& page = sheet.Delivery();
                       EXPECT_TRUE(IsChecked(page, IdRelay));
                       EXPECT_EQ(Rules(page), "relay=1 link=1 direct=0 login=1 throttle=1 pop3=0");
                       EXPECT_EQ(qobject_cast<QLineEdit*>(Item(page, IdRelayServer))->text(),
                                 "smtp.autumn.example");
                       EXPECT_EQ(Combo(page, IdPauseAfter)->currentIndex(), -1) << "0 e-mails is no item";
                       EXPECT_EQ(Combo(page, IdPauseSeconds)->currentText(), "1 minute");
                       Click(sheet.Sheet(), IDOK);
                   });
    script.Start();
    EXPECT_TRUE(sheet.Run(EmailSettingsSheet::DeliveryPage));
    EXPECT_TRUE(script.Finished());
    ExpectInt(target, SenderDelivery, NdbValueSenderKind, 1);
    ExpectInt(target, SenderPauseAfter, NdbValueInt, 0);
    ExpectInt(target, SenderPauseSeconds, NdbValueInt, 60);
    ExpectInt(target, SenderRelayPort, NdbValueInt, 587);
    ExpectInt(target, SenderPop3Port, NdbValueInt, 110);
    ExpectInt(target, SenderThreads, NdbValueInt, 1);
    EXPECT_EQ(target.GetString(SenderRelayPassword), "");
    CNdbFieldValue domain;
    EXPECT_FALSE(target.GetField(SenderHeloDomain, domain)) << "absent in the source, so removed";
    EXPECT_EQ(target.GetString(SenderFromAddress), "mine@example.com") << "the General page's field";
}
