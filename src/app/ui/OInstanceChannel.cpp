#include "app/ui/OInstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>

namespace {
// One line of UTF-8 carries the path; the receiver answers one byte when it took it.
constexpr char kTaken = '1';
constexpr qint64 kMaxPathBytes = 64 * 1024;
}  // namespace

OInstanceChannel::OInstanceChannel(QString name) : m_name(std::move(name)) {}

OInstanceChannel::~OInstanceChannel() = default;

QString OInstanceChannel::DefaultName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QDir::home().dirName();
    return "kalvor-" + user;
}

bool OInstanceChannel::bHandOver(const QString& file, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs)) return false;
    const QByteArray line = QFileInfo(file).absoluteFilePath().toUtf8() + '\n';
    socket.write(line);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.read(1) == QByteArray(1, kTaken);
}

bool OInstanceChannel::bListen(std::function<void(const QString&)> open) {
    // A program that answers keeps its name. Listening would not tell: with access options
    // the server is bound elsewhere and moved over the name, replacing a live socket.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500)) return false;
    // What is left is nobody's: a socket of a program that crashed.
    QLocalServer::removeServer(m_name);
    m_open = std::move(open);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        m_server.reset();
        return false;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, [this] { OnConnection(); });
    return true;
}

void OInstanceChannel::OnConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guarded(socket);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, guarded] {
            if (!guarded) return;
            if (!guarded->canReadLine()) {
                if (guarded->bytesAvailable() > kMaxPathBytes) guarded->abort();
                return;
            }
            const QString path = QString::fromUtf8(guarded->readLine(kMaxPathBytes)).trimmed();
            guarded->write(QByteArray(1, kTaken));
            guarded->flush();
            guarded->disconnectFromServer();
            if (!path.isEmpty() && m_open) m_open(path);
        });
    }
}
