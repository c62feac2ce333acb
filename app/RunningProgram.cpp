#include "app/RunningProgram.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace {

constexpr const char* kService = "org.trimjet.Trimjet";
constexpr const char* kPath = "/org/trimjet/Trimjet";
constexpr const char* kInterface = "org.trimjet.Trimjet";
// A running program that does not answer in this time is taken as hung: this start runs alone.
constexpr int kAnswerMs = 5000;
constexpr char kTaken = 'k';
// A hand-over is a folder and a command line: anything longer is not one.
constexpr qint64 kMaxMessage = 1 << 20;

QString NameFromEnvironment(const QString& name) {
  if (!name.isEmpty()) return name;
  return qEnvironmentVariable("TRIMJET_INSTANCE");
}

// Letters, digits and "_" only: the name becomes part of a bus name and of a file name.
QString Tidy(const QString& text) {
  QString out;
  for (const QChar c : text) out += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QChar('_');
  return out;
}

QByteArray Pack(const QString& folder, const QString& args) {
  QByteArray body;
  {
    QDataStream out(&body, QIODevice::WriteOnly);
    out << folder << args;
  }
  QByteArray message;
  {
    QDataStream out(&message, QIODevice::WriteOnly);
    out << qint64(body.size());
  }
  return message + body;
}

}  // namespace

RunningProgram::RunningProgram(const QString& name, Channel channel)
    : name_(Tidy(NameFromEnvironment(name))), channel_(channel) {}

RunningProgram::~RunningProgram() {
  if (onBus_) QDBusConnection::sessionBus().unregisterService(ServiceName());
}

QString RunningProgram::ServiceName() const {
  return name_.isEmpty() ? QString::fromLatin1(kService)
                         : QString::fromLatin1(kService) + ".I" + name_;
}

QString RunningProgram::SocketPath() const {
  // The runtime folder is the user's own; the shared temporary folder needs the user in the name.
  QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
  QString user;
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
    folder = QDir::tempPath();
    user = QString::number(getuid()) + "-";
  }
  // One program per display: a second X session of the same user has its own.
  const QString display =
      Tidy(qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY")));
  return folder + "/trimjet-" + user + display + (name_.isEmpty() ? QString() : "-" + name_) +
         ".socket";
}

bool RunningProgram::HandOver(const QString& folder, const QString& args) {
  if (channel_ == Channel::kAny) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
      if (!bus.interface()->isServiceRegistered(ServiceName())) return false;
      QDBusMessage call =
          QDBusMessage::createMethodCall(ServiceName(), kPath, kInterface, "HandOff");
      call << folder << args;
      const QDBusMessage reply = bus.call(call, QDBus::Block, kAnswerMs);
      return reply.type() == QDBusMessage::ReplyMessage;
    }
  }
  return HandOverBySocket(Pack(folder, args));
}

bool RunningProgram::HandOverBySocket(const QByteArray& message) {
  // Paths are private: only a program of this user may hear them.
  const QString path = SocketPath();
  if (QFileInfo(path).ownerId() != getuid()) return false;
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kAnswerMs)) return false;
  socket.write(message);
  if (!socket.waitForBytesWritten(kAnswerMs)) return false;
  // Taken only when the running program says so; a dying one must not swallow the start.
  while (socket.bytesAvailable() == 0)
    if (!socket.waitForReadyRead(kAnswerMs)) return false;
  char answer = 0;
  return socket.getChar(&answer) && answer == kTaken;
}

bool RunningProgram::Listen() {
  if (channel_ == Channel::kAny) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
      // Two starts at once: the bus gives the name to one of them.
      if (!bus.registerService(ServiceName())) return false;
      onBus_ = bus.registerObject(kPath, this, QDBusConnection::ExportScriptableSlots);
      return onBus_;
    }
  }
  return ListenOnSocket();
}

bool RunningProgram::ListenOnSocket() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &RunningProgram::ReadConnection);
  const QString path = SocketPath();
  if (server_->listen(path)) return true;
  // A socket left by a program that crashed answers nobody: take its place. One that answers
  // belongs to a program started at the same moment; this one then runs alone.
  QLocalSocket probe;
  probe.connectToServer(path);
  if (probe.waitForConnected(500)) return false;
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void RunningProgram::ReadConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      QDataStream in(socket);
      in.startTransaction();
      qint64 size = 0;
      in >> size;
      if (size < 0 || size > kMaxMessage) {
        socket->abort();
        return;
      }
      QString folder, args;
      in >> folder >> args;
      if (!in.commitTransaction()) return;  // the rest is still on its way
      socket->putChar(kTaken);
      socket->flush();
      HandOff(folder, args);
    });
  }
}

void RunningProgram::HandOff(const QString& folder, const QString& args) {
  // Answered first: the caller waits for the answer, not for the windows that open (and a
  // question one of them asks).
  QPointer<RunningProgram> self(this);
  QMetaObject::invokeMethod(
      this,
      [self, folder, args] {
        if (self) emit self->Received(folder, args);
      },
      Qt::QueuedConnection);
}
