#include "mainwindow/startup.h"

#include "core/clock.h"
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "records/messagerecords.h"
#include "files/adminfile.h"
#include "files/agreement.h"
#include "files/distributionlist.h"
#include "files/startupsound.h"
#include "files/storedlogin.h"
#include "files/userblacklist.h"
#include "mainwindow/main_window.h"
#include "mainwindow/settingsload.h"
#include "platform/dialogs.h"
#include "platform/sound.h"
#include "session/autologin.h"
#include "session/hexlog.h"
#include "session/icqsession.h"
#include "session/loginform.h"
#include "session/login_window.h"
#include "settings/autoopensettings.h"
#include "settings/install.h"
#include "settings/tutorial.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

const QStringList StartupSequence::AutoOpenWindows = {
    QStringLiteral("Form1"),  QStringLiteral("Form2"),  QStringLiteral("Form5"),
    QStringLiteral("Form16"), QStringLiteral("Form9"),  QStringLiteral("Form11"),
    QStringLiteral("Form19"), QStringLiteral("Form18"), QStringLiteral("Form28"),
};

const QStringList StartupSequence::DataFolders = {
    QStringLiteral("\\Настройки"),      QStringLiteral("\\Логи"),         QStringLiteral("\\Команды"),
    QStringLiteral("\\Подпрограммы\\"), QStringLiteral("\\Статистика\\"), QStringLiteral("\\Группы\\"),
};

namespace {

bool holdsOne(const QString &text)
{
    return VbValues::holdsNumber(text.trimmed(), 1);
}

void setModeMarks(MDIForm1 &window, const QString &mode)
{
    const std::pair<const char *, const char *> marks[] = {
        {"rej_auto_m", "2"}, {"rej_kom_m", "1"}, {"rej_zerk_m", "3"}};
    for (const auto &[name, itsMode] : marks) {
        if (QAction *item = window.action(QString::fromLatin1(name)))
            item->setChecked(mode == QLatin1String(itsMode));
    }
}

} // namespace

StartupSequence::StartupSequence(MDIForm1 &window, IcqSession &session, ProgramState &state, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_session(session)
    , m_state(state)
{}

StartupSequence::Outcome StartupSequence::run()
{
    // A journal a killed run left is folded first; files that hold passwords or every
    // message are tightened even before their next rewrite.
    Records::openMessageLog();
    QStringList secret = {GeneralSettings::FilePath, RememberedLogin::FilePath, StoredLogin::FilePath,
                          DistributionList::FilePath,
                          AdminFile::FilePath, HexLog::FileName, HexLog::FileName + QStringLiteral(".1")};
    secret += Records::SecretFiles;
    for (QString &path : secret)
        path = ProgramFolder::path(path);
    Storage::tighten(secret);

    // A list that is there but cannot be read is no first start: the storage layer has
    // reported it, and nothing may offer to write the bot numbers anew over it.
    if (DistributionList::isEmpty()) {
        noDistributionList();
        return Outcome::NoDistributionList;
    }
    cleanUpAfterUncleanEnd();
    // An agreement file that cannot be read is neither accepted nor a first start.
    if (Agreement::isUnreadable()) {
        unreadable(Agreement::MarkerPath);
        return Outcome::Unreadable;
    }
    if (!agreementAccepted()) {
        // The agreement window ends the program whichever way it is closed.
        if (QWidget *agreement = m_window.showWindow(QStringLiteral("Form48"))) {
            agreement->hide();
            agreement->setWindowModality(Qt::ApplicationModal);
            agreement->show();
        }
        return Outcome::AgreementShown;
    }
    createFolders();
    bool reconnectOn = false;
    if (!loadSettings(reconnectOn))
        return Outcome::NoDistributionList;
    if (m_hooks.restoreChat)
        m_hooks.restoreChat();
    offerTutorial();
    openChosenWindows();
    purgeBlacklist();
    if (reconnectOn) {
        m_state.HideAfterLogin = true;
        if (m_hooks.hideToTray)
            m_hooks.hideToTray();
    }
    return Outcome::Completed;
}

StartupSequence::Question StartupSequence::questionWithoutBlocking(QWidget *parent)
{
    const QPointer<QWidget> owner(parent);
    return [owner](const QString &title, const QString &text, std::function<void(bool yes)> answered) {
        auto *box = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                                    owner.data());
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::buttonClicked, box, [box, answered](QAbstractButton *button) {
            if (answered)
                answered(box->standardButton(button) == QMessageBox::Yes);
        });
        box->open();
    };
}

void StartupSequence::noDistributionList()
{
    // From the start-up, not from a click: the box must not hold the program up.
    Dialogs::instance().notify(LoginForm::DistributionTitle, LoginForm::DistributionText,
                               Dialogs::Icon::Information, QStringLiteral("distribution"));
    showDistributionPage(m_window);
}

void StartupSequence::unreadable(const QString &programPath)
{
    Dialogs::instance().message(UnreadableTitle, UnreadableText.arg(ProgramFolder::path(programPath)),
                                Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

void StartupSequence::cleanUpAfterUncleanEnd()
{
    if (!holdsOne(TextFile::firstLine(CleanExitFile)) && m_hooks.cleanUpChat)
        m_hooks.cleanUpChat();
    TextFile::remove(CleanExitFile);
}

bool StartupSequence::agreementAccepted()
{
    m_state.AgreementAccepted = Agreement::isAccepted() ? 1 : 0;
    return m_state.AgreementAccepted == 1;
}

void StartupSequence::createFolders()
{
    for (const QString &folder : DataFolders)
        TextFile::ensureFolder(folder);
}

bool StartupSequence::loadSettings(bool &reconnectOn)
{
    SettingsLoad::Effects effects;
    effects.playStartupSound = [this] { playStartupSound(); };
    effects.checkForUpdate = [this] {
        if (m_hooks.checkForUpdate)
            m_hooks.checkForUpdate();
    };
    const Settings settings = Settings::read();
    const std::optional<SettingsLoad::Loaded> loaded = SettingsLoad::read(settings.text(), effects);
    if (!loaded)
        return true;

    if (loaded->saveStatus) {
        if (QAction *item = m_window.action(QStringLiteral("zap_st_m")))
            item->setChecked(*loaded->saveStatus);
    }
    reconnectOn = settings.reconnectOn();
    if (reconnectOn)
        m_state.ReconnectInterval = settings.reconnectMinutes();
    if (loaded->autoEnter)
        m_state.AutoEnterOn = *loaded->autoEnter;
    if (m_state.AutoEnterOn == 1 &&
        !autoLogin(loaded->autoICQNumber.value_or(QString()), loaded->autoPassword.value_or(QString())))
        return false;

    m_state.BotMode = Settings::botMode(loaded->saveRejim);
    setModeMarks(m_window, m_state.BotMode);
    return true;
}

bool StartupSequence::autoLogin(const QString &scrambledNumber, const QString &scrambledPassword)
{
    const std::optional<StoredLogin::Credentials> stored =
        StoredLogin::decode(scrambledNumber, scrambledPassword);
    // Without a number there is nothing to log in: the login window stays usable.
    if (!stored)
        return true;
    m_session.setMainUin(stored->uin);
    m_session.setMainPassword(stored->password);
    // An unreadable list is not an empty one (the storage layer has reported it).
    if (DistributionList::isEmpty()) {
        noDistributionList();
        return false;
    }
    const Credentials credentials{QString::number(stored->uin), stored->password};
    if (auto *login = m_window.show<fMain>(QStringLiteral("fMain")))
        login->showLogin(credentials, true);
    m_autoLoginSlot = AutoLogin::vhod_auto(m_session, credentials);
    return true;
}

void StartupSequence::offerTutorial()
{
    if (holdsOne(TextFile::firstLine(Tutorial::MarkerPath)))
        return;
    m_state.BotMode = QStringLiteral("1");
    setModeMarks(m_window, m_state.BotMode);

    const QPointer<StartupSequence> self(this);
    auto answered = [self](bool yes) {
        if (!self)
            return;
        if (yes) {
            // The tutorial window writes the marker when it is completed.
            self->m_window.showWindow(QStringLiteral("Form26"));
            return;
        }
        Dialogs::instance().notify(TutorialLaterTitle, TutorialLaterText, Dialogs::Icon::Information,
                                   QStringLiteral("tutorial"));
        TextFile::writeAll(Tutorial::MarkerPath, VbValues::printForm(1) + QStringLiteral("\r\n"));
    };
    if (m_hooks.askQuestion) {
        m_hooks.askQuestion(TutorialTitle, TutorialText, answered);
    } else {
        answered(Dialogs::instance().message(TutorialTitle, TutorialText, Dialogs::Icon::Question,
                                             Dialogs::Buttons::YesNo) == Dialogs::Button::Yes);
    }
}

void StartupSequence::openChosenWindows()
{
    AutoOpenSettings chosen;
    chosen.load();
    for (qsizetype i = 0; i < AutoOpenWindows.size() && i < AutoOpenSettings::BoxCount; ++i) {
        if (chosen.values().boxes[i])
            m_window.showWindow(AutoOpenWindows.at(i));
    }
}

void StartupSequence::purgeBlacklist()
{
    // The operator learns how many bans went, in the log and without a blocking box.
    const QString report = UserBlacklist::purgeReport(UserBlacklist::purgeExpired(Clock::instance().today()));
    if (report.isEmpty())
        return;
    qInfo("%s", qPrintable(report));
    Dialogs::instance().notify(QString(), report, Dialogs::Icon::Information, QStringLiteral("blacklist purge"));
}

void StartupSequence::playStartupSound()
{
    if (m_hooks.playStartupSound) {
        m_hooks.playStartupSound();
        return;
    }
    const QString file = StartupSound::file(Settings::read());
    if (!file.isEmpty())
        Sound::instance().play(file);
}
