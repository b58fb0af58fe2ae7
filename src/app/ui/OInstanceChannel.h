// Hands a file to open from a second start of the program to the one already running, as the
// desktop does when a user opens project files from the file manager: the second start
// sends the path over a local socket of the user's session and ends; the running program
// opens the file.
#pragma once

#include <QLocalServer>
#include <QString>
#include <functional>
#include <memory>

class OInstanceChannel {
  public:
    // name: the socket name; the default is one per user ("kalvor-<user>").
    explicit OInstanceChannel(QString name = DefaultName());
    ~OInstanceChannel();

    static QString DefaultName();

    // Sends the absolute path of `file` to a running program; true when it took it.
    bool bHandOver(const QString& file, int timeoutMs = 2000) const;

    // Listens for paths from later starts; `open` is called on the UI thread for each one.
    // False when the socket cannot be served (another program serves it already).
    bool bListen(std::function<void(const QString&)> open);

  private:
    void OnConnection();

    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void(const QString&)> m_open;
};
