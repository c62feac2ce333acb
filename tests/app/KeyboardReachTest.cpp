// Every window can be worked from the keyboard and read by a screen reader: Tab reaches each
// control the user can act on, each says what it is, and the usual keys do their job.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "RecordingDialogs.h"
#include "app/Shell.h"
#include "app/frmAbout.h"
#include "app/frmMainForm.h"
#include "app/frmStartupWizard.h"
#include "batch/frmAddDir.h"
#include "batch/frmBatch.h"
#include "browse/PictureBrowser.h"
#include "browse/clsBrowsePic.h"
#include "browse/clsDirPics.h"
#include "controls/CommandButton.h"
#include "controls/SizerBarBase.h"
#include "controls/UserProgress.h"
#include "optimizer/ImageOptimize.h"
#include "optimizer/frmEffect.h"
#include "optimizer/frmImgOpt.h"
#include "settings/clsLanguage.h"

namespace {

struct World {
  QTemporaryDir dir;
  RecordingDialogs dialogs;
  Shell shell;
  QString Picture(const QString& name) const {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir.path() + "/" + name;
    EXPECT_TRUE(image.save(path, "JPG", 95));
    return path;
  }
  int Messages(const QString& kind) const {
    int n = 0;
    for (const auto& c : dialogs.calls) n += c.kind == kind;
    return n;
  }
};

// What a key's menu showed, read while the menu was open.
QString& MenuSeen() {
  static QString seen;
  return seen;
}

struct KeyCheck {
  const char* what;
  QKeySequence keys;
  // Before the key: the state to act on; after it: what must hold. A window that deletes
  // itself on close comes to `after` as null once the key has closed it.
  std::function<void(QWidget*, World&)> before;
  std::function<void(QWidget*, World&)> after;
};

struct WindowCase {
  const char* name;
  std::function<QWidget*(World&)> open;
  std::vector<KeyCheck> keys;
};

// The role a control of that kind must report.
std::optional<QAccessible::Role> RoleFor(const QWidget* w) {
  if (qobject_cast<const CommandButton*>(w) || qobject_cast<const QPushButton*>(w))
    return QAccessible::Button;
  if (qobject_cast<const QCheckBox*>(w)) return QAccessible::CheckBox;
  if (qobject_cast<const QRadioButton*>(w)) return QAccessible::RadioButton;
  if (qobject_cast<const QSlider*>(w)) return QAccessible::Slider;
  if (qobject_cast<const SizerBarBase*>(w)) return QAccessible::Splitter;
  if (qobject_cast<const QComboBox*>(w)) return QAccessible::ComboBox;
  if (qobject_cast<const QLineEdit*>(w)) return QAccessible::EditableText;
  if (qobject_cast<const UserProgress*>(w)) return QAccessible::ProgressBar;
  return std::nullopt;
}

// A control the user acts on: shown, enabled, and of a kind that takes input.
bool Actionable(const QWidget* w) {
  if (!w->isVisible() || !w->isEnabled() || w->focusProxy()) return false;
  if (qobject_cast<const QScrollBar*>(w) || qobject_cast<const QHeaderView*>(w))
    return false;  // reached through their view
  if (qobject_cast<const QComboBox*>(w->parentWidget())) return false;  // the box's own parts
  return (RoleFor(w) && !qobject_cast<const UserProgress*>(w)) ||
         qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QTabBar*>(w) ||
         qobject_cast<const QPlainTextEdit*>(w) || (w->focusPolicy() & Qt::TabFocus);
}

// Tab enters a group of exclusive radio buttons once, at its checked one; arrows move inside.
bool ReachedInGroup(const QWidget* w, const QSet<QWidget*>& reached) {
  const auto* radio = qobject_cast<const QRadioButton*>(w);
  if (!radio || !radio->autoExclusive()) return false;
  for (QWidget* other : reached)
    if (qobject_cast<QRadioButton*>(other) && other->parentWidget() == w->parentWidget())
      return true;
  return false;
}

QString Describe(const QWidget* w) {
  return QString::fromLatin1(w->metaObject()->className()) + " " + w->objectName();
}

QWidget* ActiveWindowOf(QWidget* w) {
  QWidget* window = w->window();
  window->show();
  window->raise();
  window->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
  return window;
}

// Presses Tab until the focus comes back where it started; the widgets it visited.
QSet<QWidget*> TabWalk(QWidget* window) {
  QSet<QWidget*> seen;
  if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window)
    QTest::keyClick(window, Qt::Key_Tab);
  QWidget* start = QApplication::focusWidget();
  if (!start) return seen;
  for (int i = 0; i < 300; ++i) {
    QWidget* now = QApplication::focusWidget();
    if (!now || (i > 0 && now == start)) break;
    seen.insert(now);
    QTest::keyClick(now, Qt::Key_Tab);
  }
  return seen;
}

frmBatch* WizardOn(World& world, int page) {
  auto* wizard = new frmBatch;
  wizard->setAttribute(Qt::WA_DeleteOnClose);
  if (page > 0) wizard->HandOff({world.Picture("batch.jpg")});
  wizard->SetPage(page);
  wizard->SetVisible();
  return wizard;
}

frmMainForm* MainWindowOn(World& world) {
  world.Picture("a.jpg");
  world.Picture("b.jpg");
  world.Picture("c.jpg");
  world.shell.ShowMainWindow(world.dir.path());
  frmMainForm* window = world.shell.MainWindow();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return window->Browser()->Current()->GetImagesCount() == 3; }, 10000));
  return window;
}

int SelectedIndex(frmMainForm* window) {
  const clsDirPics* model = window->Browser()->Current();
  for (int i = 1; i <= model->GetImagesCount(); ++i)
    if (model->Item(i)->IsSelected()) return i;
  return 0;
}

frmImgOpt* OptimizerOn(World& world) {
  auto* window = new frmImgOpt;
  window->show();
  window->LoadPicture(world.Picture("photo.jpg"), true);
  return window;
}

const std::vector<WindowCase>& Cases() {
  static const std::vector<WindowCase> cases = {
      {"optimiser",
       [](World& w) -> QWidget* { return OptimizerOn(w); },
       {{"F1 opens the help",
         QKeySequence(Qt::Key_F1),
         {},
         [](QWidget*, World& w) { EXPECT_EQ(w.Messages("url"), 1); }},
        {"Ctrl+Shift+S asks for a name",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         {},
         [](QWidget* win, World& w) {
           EXPECT_EQ(w.Messages("save"), 1);
           // Each key is shown on its button.
           for (const char* name : {"cmdSave", "cmdSaveAs", "cmdHelp"})
             EXPECT_FALSE(win->findChild<QWidget*>(name)->toolTip().isEmpty()) << name;
           EXPECT_TRUE(win->findChild<QWidget*>("cmdSaveAs")->toolTip().contains("Shift+S"));
         }},
        {"Esc on a changed picture asks first (Cancel keeps the window)",
         QKeySequence(Qt::Key_Escape),
         [](QWidget* win, World&) {
           win->findChild<QSlider*>("sldQuality")->setValue(40);
           ASSERT_TRUE(win->windowTitle().endsWith('*'));
         },
         [](QWidget* win, World& w) {
           EXPECT_EQ(w.Messages("message"), 1);
           EXPECT_TRUE(win->isVisible());
         }},
        {"Enter in the target size moves the quality to the highest that fits",
         QKeySequence(Qt::Key_Return),
         [](QWidget* win, World&) {
           auto* box = win->findChild<QLineEdit*>("txtMaxSize");
           box->setText("1M");  // far above the picture: the top quality fits
           box->setFocus();
         },
         [](QWidget* win, World&) {
           EXPECT_EQ(win->findChild<QSlider*>("sldQuality")->value(), 98);
           EXPECT_TRUE(win->findChild<QLabel*>("lblMaxSizeNote")->text().contains("fits"));
           // No target is left behind for the windows opened after this one.
           win->findChild<QLineEdit*>("txtMaxSize")->clear();
           win->findChild<QSlider*>("sldQuality")->setFocus();
         }},
        {"Ctrl+S writes the changed picture", QKeySequence(Qt::CTRL | Qt::Key_S),
         [](QWidget*, World& w) { w.dialogs.calls.clear(); },
         [](QWidget* win, World& w) {
           EXPECT_EQ(w.Messages("message"), 0);
           EXPECT_FALSE(win->windowTitle().contains('*')) << win->windowTitle().toStdString();
         }},
        {"Esc on a saved picture closes at once",
         QKeySequence(Qt::Key_Escape),
         {},
         [](QWidget* win, World& w) {
           EXPECT_EQ(w.Messages("message"), 0);
           EXPECT_TRUE(!win || !win->isVisible());
         }}}},
      {"options panel",
       [](World&) -> QWidget* { return new ImageOptimize; },
       {{"Down on Auto opens its level menu", QKeySequence(Qt::Key_Down),
         [](QWidget* win, World&) {
           win->findChild<QWidget*>("cmdAutoQuality")->setFocus();
           // The menu runs its own loop: look at it from there, then close it.
           QTimer::singleShot(0, [] {
             QWidget* popup = QApplication::activePopupWidget();
             const QAction* high = popup ? popup->findChild<QAction*>("mnuAutoHigh") : nullptr;
             MenuSeen() = high ? "|" + high->text() : QString();
             if (popup) popup->close();
           });
         },
         [](QWidget*, World&) { EXPECT_TRUE(MenuSeen().endsWith("|High")) << MenuSeen().toStdString(); }}}},
      {"wizard list page",
       [](World& w) -> QWidget* { return WizardOn(w, 0); },
       {{"F1 opens the help",
         QKeySequence(Qt::Key_F1),
         {},
         [](QWidget*, World& w) { EXPECT_EQ(w.Messages("url"), 1); }},
        {"Esc cancels the wizard",
         QKeySequence(Qt::Key_Escape),
         {},
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
      {"wizard options page", [](World& w) -> QWidget* { return WizardOn(w, 1); }, {}},
      {"wizard output page", [](World& w) -> QWidget* { return WizardOn(w, 2); }, {}},
      {"wizard run page",
       [](World& w) -> QWidget* { return WizardOn(w, frmBatch::kRunPage); },
       {{"Esc after the run takes Close", QKeySequence(Qt::Key_Escape),
         [](QWidget* win, World&) {
           ASSERT_TRUE(win->findChild<QPushButton*>("cmdClose")->isVisible());
         },
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
      {"main window",
       [](World& w) -> QWidget* { return MainWindowOn(w); },
       {{"Right moves the selection on", QKeySequence(Qt::Key_Right),
         [](QWidget* win, World&) {
           auto* main = static_cast<frmMainForm*>(win);
           main->Browser()->Current()->SelectOnly(1);
           main->Browser()->Pictures()->setFocus();
         },
         [](QWidget* win, World&) {
           auto* main = static_cast<frmMainForm*>(win);
           EXPECT_EQ(SelectedIndex(main), 2);
           // A screen reader reads the grid as a list of the pictures, the selection with it.
           QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(main->Browser()->Pictures());
           ASSERT_EQ(grid->role(), QAccessible::List);
           ASSERT_EQ(grid->childCount(), 3);
           EXPECT_EQ(grid->child(1)->text(QAccessible::Name), "b.jpg");
           EXPECT_EQ(grid->indexOfChild(grid->child(1)), 1);
           EXPECT_TRUE(grid->child(1)->state().selected);
           EXPECT_FALSE(grid->child(0)->state().selected);
         }},
        {"Left moves it back",
         QKeySequence(Qt::Key_Left),
         {},
         [](QWidget* win, World&) { EXPECT_EQ(SelectedIndex(static_cast<frmMainForm*>(win)), 1); }},
        {"Shift+End selects on to the last", QKeySequence(Qt::SHIFT | Qt::Key_End), {},
         [](QWidget* win, World&) {
           EXPECT_EQ(static_cast<frmMainForm*>(win)->Browser()->Current()->GetSelectedCount(), 3);
         }},
        {"Shift+Left gives the last back, the range still from the first",
         QKeySequence(Qt::SHIFT | Qt::Key_Left), {},
         [](QWidget* win, World&) {
           const clsDirPics* pics = static_cast<frmMainForm*>(win)->Browser()->Current();
           EXPECT_EQ(pics->GetSelectedCount(), 2);
           EXPECT_TRUE(pics->Item(1)->IsSelected());
         }},
        {"PageDown goes a page on, to the last at most", QKeySequence(Qt::Key_PageDown), {},
         [](QWidget* win, World&) { EXPECT_EQ(SelectedIndex(static_cast<frmMainForm*>(win)), 3); }},
        {"PageUp goes back to the first", QKeySequence(Qt::Key_PageUp), {},
         [](QWidget* win, World&) { EXPECT_EQ(SelectedIndex(static_cast<frmMainForm*>(win)), 1); }},
        {"Delete asks before deleting (No keeps the file)",
         QKeySequence(Qt::Key_Delete),
         {},
         [](QWidget* win, World& w) {
           EXPECT_EQ(w.Messages("message"), 1);
           EXPECT_TRUE(QFileInfo::exists(w.dir.path() + "/a.jpg"));
           EXPECT_EQ(static_cast<frmMainForm*>(win)->Browser()->Current()->GetImagesCount(), 3);
         }},
        {"Ctrl+A selects every picture",
         QKeySequence(Qt::CTRL | Qt::Key_A),
         {},
         [](QWidget* win, World&) {
           EXPECT_EQ(static_cast<frmMainForm*>(win)->Browser()->Current()->GetSelectedCount(), 3);
         }},
        {"Enter opens the picture to optimise", QKeySequence(Qt::Key_Return),
         [](QWidget* win, World&) {
           auto* main = static_cast<frmMainForm*>(win);
           main->Browser()->Current()->SelectOnly(2);
         },
         [](QWidget*, World& w) {
           ASSERT_NE(w.shell.Optimizer(), nullptr);
           EXPECT_EQ(w.shell.Optimizer()->GetFileName(), w.dir.path() + "/b.jpg");
         }}}},
      {"effect dialog",
       [](World&) -> QWidget* { return new frmEffect; },
       {{"Esc closes it",
         QKeySequence(Qt::Key_Escape),
         {},
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
      {"add folder dialog",
       [](World&) -> QWidget* { return new frmAddDir; },
       {{"Esc closes it",
         QKeySequence(Qt::Key_Escape),
         {},
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
      {"about box",
       [](World&) -> QWidget* { return new frmAbout; },
       {{"Enter takes OK",
         QKeySequence(Qt::Key_Return),
         {},
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
      {"start-up wizard",
       [](World&) -> QWidget* { return new frmStartupWizard; },
       {{"Esc closes it",
         QKeySequence(Qt::Key_Escape),
         {},
         [](QWidget* win, World&) { EXPECT_TRUE(!win || !win->isVisible()); }}}},
  };
  return cases;
}

class KeyboardReachTest : public ::testing::TestWithParam<size_t> {
 protected:
  static void SetUpTestSuite() { Language().AddDefaultStrings(); }
  void TearDown() override {
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets()) open.append(w);
    for (const QPointer<QWidget>& w : open)
      if (w) w->close();
    for (const QPointer<QWidget>& w : open)
      if (w) delete w.data();
    QApplication::processEvents();
  }
};

TEST_P(KeyboardReachTest, TabReachesEveryNamedControlAndKeysAct) {
  const WindowCase& c = Cases()[GetParam()];
  SCOPED_TRACE(c.name);
  World world;
  ASSERT_TRUE(world.dir.isValid());
  QWidget* window = ActiveWindowOf(c.open(world));

  // A window is read as a window or a dialog, never as a "filler".
  const QAccessible::Role windowRole = QAccessible::queryAccessibleInterface(window)->role();
  EXPECT_TRUE(windowRole == QAccessible::Window || windowRole == QAccessible::Dialog)
      << Describe(window).toStdString() << " is read as role " << int(windowRole);
  const QSet<QWidget*> reached = TabWalk(window);
  int controls = 0;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->window() != window) continue;
    const auto role = RoleFor(w);
    if (Actionable(w)) {
      ++controls;
      EXPECT_TRUE(reached.contains(w) || ReachedInGroup(w, reached))
          << "Tab never reaches " << Describe(w).toStdString();
    }
    if (!w->isVisible() || !(Actionable(w) || role)) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr) << Describe(w).toStdString();
    if (role) {
      EXPECT_EQ(a->role(), *role) << Describe(w).toStdString();
    }
    EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
        << Describe(w).toStdString() << " has no name";
    if (a->role() == QAccessible::List) {
      for (int i = 0; i < a->childCount(); ++i) {
        EXPECT_FALSE(a->child(i)->text(QAccessible::Name).isEmpty())
            << Describe(w).toStdString() << " item " << i << " has no name";
      }
    }
    if (auto* bar = qobject_cast<UserProgress*>(w)) {
      ASSERT_NE(a->valueInterface(), nullptr);
      EXPECT_EQ(a->valueInterface()->currentValue().toInt(), bar->Value());
    }
  }
  EXPECT_GT(controls, 0);

  const QPointer<QWidget> alive(window);
  for (const KeyCheck& k : c.keys) {
    SCOPED_TRACE(k.what);
    ASSERT_FALSE(alive.isNull()) << "the window was gone before this key";
    if (k.before) k.before(window, world);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keySequence(target, k.keys);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    k.after(alive.data(), world);
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, KeyboardReachTest, ::testing::Range<size_t>(0, 11),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           std::string name = Cases()[info.param].name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

TEST(KeyboardFocus, OptimiserOpensWithTheFocusOnItsFirstSetting) {
  Language().AddDefaultStrings();
  World world;
  std::unique_ptr<frmImgOpt> window(OptimizerOn(world));
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(QApplication::activeWindow(), window.get());
  EXPECT_EQ(QApplication::focusWidget(), window->findChild<QSlider*>("sldQuality"));
  window->close();
}

}  // namespace
