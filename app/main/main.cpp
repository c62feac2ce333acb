#include <QApplication>

#include "app/modMAIN.h"
#include "core/PreviewSession.h"

int main(int argc, char** argv) {
  modMAIN::IgnoreBrokenPipes();
  PreviewSession::ShareOneHeap();
  QApplication app(argc, argv);
  return modMAIN::Run(app);
}
