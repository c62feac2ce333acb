// The language file reader on arbitrary bytes: counts and lengths that run past the end,
// texts in every code-page byte. The table must load, answer lookups and translate objects.
#include <QObject>

#include "FuzzSupport.h"
#include "settings/clsLanguage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSupport::Initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using FuzzSupport::Check;
  static const QString path = FuzzSupport::ScratchPath("Trimjet.lng");
  Check(FuzzSupport::WriteFile(path, FuzzSupport::Bytes(data, size)), "scratch file not written");
  clsLanguage language(path);
  Check(language.IsLoaded(), "an existing file did not count as loaded");
  // An unknown key answers itself; the defaults fill in behind the file's messages.
  Check(language.GetString("NoSuchKeyInAnyFile") == "NoSuchKeyInAnyFile", "unknown key");
  language.AddDefaultStrings();
  Check(!language.GetString("NoSupFilesInFolder").isNull(), "no text for a default key");

  QObject window;
  window.setObjectName("frmBatch");
  QObject child(&window);
  child.setObjectName("cmdNext");
  language.UpdateObject(&window);
  language.UpdateObject(&window, "frmAbout");
  return 0;
}
