#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

// The server's accounts: number and password. Passwords are bytes as the client's
// code page has them (Windows-1251 for the bot).
class AccountStore
{
public:
    // Adds or replaces an account.
    void add(const QString &uin, const QByteArray &password);
    bool remove(const QString &uin);
    void clear();

    // One account per line: the number, blanks, then the password (the rest of the line,
    // trailing blanks and CR removed). Empty lines and lines starting with '#' are skipped.
    // A password in UTF-8 is stored in Windows-1251 when the code page holds it.
    // On a malformed line nothing is added and error names the line.
    bool load(const QString &path, QString *error = nullptr);
    bool parse(QByteArrayView text, QString *error = nullptr);

    bool contains(const QString &uin) const { return m_passwords.contains(uin); }
    bool passwordMatches(const QString &uin, QByteArrayView password) const;
    QStringList uins() const;
    int size() const { return int(m_passwords.size()); }

private:
    QHash<QString, QByteArray> m_passwords;
};
