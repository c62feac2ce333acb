#include <QApplication>

#include "app/modMAIN.h"

int main(int argc, char** argv) {
  modMAIN::IgnoreBrokenPipes();
  QApplication app(argc, argv);
  return modMAIN::Run(app);
}
