// A second process for the settings tests: reads or writes the store in a given folder.
//   settings_reg_tool DIR KEY set NAME VALUE | get NAME | many PREFIX COUNT
#include <QCoreApplication>
#include <QSettings>
#include <cstdio>

#include "settings/clsReg.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList a = app.arguments();
  if (a.size() < 5) return 2;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, a[1]);
  clsReg reg;
  if (!reg.OpenReg(a[2])) return 3;
  if (a[3] == "set" && a.size() == 6) {
    reg.SetValue(a[4], a[5]);
  } else if (a[3] == "get") {
    std::fputs(reg.GetValue(a[4]).toUtf8().constData(), stdout);
  } else if (a[3] == "many" && a.size() == 6) {
    for (int i = 0; i < a[5].toInt(); ++i)
      reg.SetValue(a[4] + QString::number(i), "v" + QString::number(i));
  } else {
    return 2;
  }
  return 0;
}
