#include "mainwindow/newsupdate.h"

#include "core/programfolder.h"
#include "core/textfile.h"
#include "engine/webaddresses.h"
#include "engine/webservices.h"
#include "mainwindow/downloadcontrol.h"
#include "platform/webopener.h"
#include "settings/supportcontacts.h"

#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QXmlStreamReader>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The number each dot-separated part starts with; 0 for a part without digits.
QList<qulonglong> versionParts(const QString &version)
{
    QList<qulonglong> parts;
    for (const QString &part : version.trimmed().split(QLatin1Char('.'))) {
        qsizetype digits = 0;
        while (digits < part.size() && digits < 18 && part.at(digits).isDigit() &&
               part.at(digits).unicode() < 128)
            ++digits;
        parts.append(part.left(digits).toULongLong());
    }
    return parts;
}

void openBox(const QString &title, const QString &text, Dialogs::Buttons buttons,
             std::function<void(Dialogs::Button)> answered)
{
    const bool yesNo = buttons == Dialogs::Buttons::YesNo;
    auto *box = new QMessageBox(QMessageBox::Information, title, text,
                                yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Answering it while the main window sits in the tray must not end the program.
    box->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered), yesNo](int) {
        const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
        if (!answered)
            return;
        if (!yesNo)
            answered(Dialogs::Button::Ok);
        else
            answered(clicked == QMessageBox::Yes ? Dialogs::Button::Yes : Dialogs::Button::No);
    });
    box->open();
}

} // namespace

NewsUpdate::NewsUpdate(DL &downloads, QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_downloads(downloads)
    , m_network(network ? network : new QNetworkAccessManager(this))
    , m_box(openBox)
    , m_timeoutMs(WebAddresses::TimeoutMs)
{}

int NewsUpdate::compareVersions(const QString &a, const QString &b)
{
    const QList<qulonglong> left = versionParts(a);
    const QList<qulonglong> right = versionParts(b);
    for (qsizetype i = 0; i < qMax(left.size(), right.size()); ++i) {
        const qulonglong l = left.value(i, 0);
        const qulonglong r = right.value(i, 0);
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

std::optional<QList<NewsUpdate::Announcement>> NewsUpdate::parseVersionFile(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    QList<Announcement> announcements;
    if (!xml.readNextStartElement())
        return std::nullopt;
    if (xml.name() == QLatin1String("UIN")) {
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("REPORT")) {
                xml.skipCurrentElement();
                continue;
            }
            while (xml.readNextStartElement()) {
                if (xml.name() != QLatin1String("FUNCTIONS")) {
                    xml.skipCurrentElement();
                    continue;
                }
                Announcement announcement;
                bool haveStatus = false;
                bool haveNotes = false;
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("STATUS") && !haveStatus) {
                        announcement.status = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                        haveStatus = true;
                    } else if (xml.name() == QLatin1String("NEW") && !haveNotes) {
                        announcement.notes = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                        haveNotes = true;
                    } else {
                        xml.skipCurrentElement();
                    }
                }
                announcements.append(announcement);
            }
        }
    } else {
        xml.skipCurrentElement();
    }
    // The whole document must be well-formed before anything of it counts.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return std::nullopt;
    return announcements;
}

void NewsUpdate::OpenWebPage(const QString &address)
{
    WebOpener::instance().open(address);
}

std::optional<QString> NewsUpdate::siteAddress(const QString &path, bool tellOperator) const
{
    const std::optional<QUrl> url = WebAddresses::url(WebAddresses::Site, path);
    if (!url) {
        // Only an operator's click gets this box, so it may wait for him.
        if (tellOperator)
            Dialogs::instance().message(QString(), SupportContacts::NoSiteText, Dialogs::Icon::Information,
                                        Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    return url->toString(QUrl::FullyEncoded);
}

void NewsUpdate::obnov_m_Click()
{
    check(false);
}

void NewsUpdate::checkAtStartup()
{
    check(true);
}

void NewsUpdate::check(bool atStartup)
{
    const std::optional<QString> address = siteAddress(VersionPath, !atStartup);
    if (!address)
        return;
    ++m_pendingChecks;
    WebLoad::get(*m_network, QUrl(*address), m_timeoutMs, this,
                 [this, atStartup](bool ok, const QByteArray &body) {
                     --m_pendingChecks;
                     // A failed load ends the check without a word, from the menu and at start-up.
                     if (ok)
                         handleVersionFile(body, atStartup);
                     Q_EMIT checkFinished();
                 });
}

void NewsUpdate::handleVersionFile(const QByteArray &xml, bool atStartup)
{
    const std::optional<QList<Announcement>> announcements = parseVersionFile(xml);
    if (!announcements)
        return;
    for (const Announcement &announcement : *announcements) {
        // An announcement without a version says nothing.
        if (announcement.status.trimmed().isEmpty())
            continue;
        const bool newer = compareVersions(announcement.status, ProgramVersion) > 0;
        if (!newer) {
            if (!atStartup)
                queueBox({LatestText, Dialogs::Buttons::Ok, false});
            continue;
        }
        QString text = QStringLiteral("Вышла новая версия программы.") + CrLf +
                       QStringLiteral("Актуальная версия: ") + announcement.status + CrLf;
        if (!atStartup)
            text += CrLf + QStringLiteral("Новое в программе:") + CrLf + announcement.notes + CrLf + CrLf;
        text += QStringLiteral("Скачать?");
        queueBox({text, Dialogs::Buttons::YesNo, true});
    }
}

void NewsUpdate::queueBox(const QueuedBox &box)
{
    m_boxes.append(box);
    if (!m_boxOpen)
        showNextBox();
}

void NewsUpdate::showNextBox()
{
    // One box at a time, in document order: the next shows when the last is answered.
    if (m_boxes.isEmpty() || !m_box) {
        m_boxes.clear();
        return;
    }
    const QueuedBox box = m_boxes.takeFirst();
    m_boxOpen = true;
    m_box(BoxTitle, box.text, box.buttons,
          [this, offersDownload = box.offersDownload](Dialogs::Button button) {
              m_boxOpen = false;
              if (offersDownload && button == Dialogs::Button::Yes) {
                  if (const std::optional<QString> address = siteAddress(NewVersionPath, false))
                      OpenWebPage(*address);
              }
              showNextBox();
          });
}

void NewsUpdate::pos_site_m_Click()
{
    if (const std::optional<QString> address = siteAddress(QString(), true))
        OpenWebPage(*address);
}

void NewsUpdate::pos_forum_m_Click()
{
    if (const std::optional<QString> address = siteAddress(ForumPath, true))
        OpenWebPage(*address);
}

void NewsUpdate::download(const QString &path, const QString &file)
{
    if (const std::optional<QString> address = siteAddress(path, false))
        m_downloads.Download(*address, ProgramFolder::path(file));
}

void NewsUpdate::news_bot_Click()
{
    if (const std::optional<QString> address = siteAddress(NewsPath, true))
        m_downloads.Download(*address, ProgramFolder::path(NewsFile));
}

void NewsUpdate::news_t_Timer()
{
    download(NewsPath, NewsFile);
}

void NewsUpdate::obno_t_Timer()
{
    TextFile::remove(NoticeFile);
    download(NoticePath, NoticeFile);
}
