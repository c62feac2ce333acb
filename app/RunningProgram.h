#pragma once
// One program per desktop session: a second start hands its command line to the program that
// runs already and ends. The session bus carries it where there is one (the desktop's way, so
// a launcher or a portal can reach it too); elsewhere a local socket in the user's runtime
// folder does.
#include <QObject>
#include <QString>

class QLocalServer;

class RunningProgram : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.trimjet.Trimjet")
 public:
  enum class Channel { kAny, kSocketOnly };
  // name: tells programs apart that must not meet (tests); empty for the user's one program.
  // TRIMJET_INSTANCE, when set, gives the name for the whole process tree.
  explicit RunningProgram(const QString& name = QString(), Channel channel = Channel::kAny);
  ~RunningProgram() override;

  // Hands folder (the caller's current folder, for relative paths) and args to the running
  // program; true when it took them and this start should end.
  bool HandOver(const QString& folder, const QString& args);
  // Makes this the running program: later starts reach Received. False when no channel
  // could be opened (the program still runs, alone).
  bool Listen();

  QString ServiceName() const;
  QString SocketPath() const;

 public Q_SLOTS:
  // The bus method a second start calls.
  Q_SCRIPTABLE void HandOff(const QString& folder, const QString& args);

 Q_SIGNALS:
  void Received(const QString& folder, const QString& args);

 private:
  bool HandOverBySocket(const QByteArray& message);
  bool ListenOnSocket();
  void ReadConnection();

  QString name_;
  Channel channel_;
  bool onBus_ = false;
  QLocalServer* server_ = nullptr;
};
