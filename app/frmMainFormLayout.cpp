// frmMainForm: its controls, menus and the layout handlers.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "app/MainLayout.h"
#include "app/frmMainForm.h"
#include "browse/ImagePreview.h"
#include "browse/PictureBrowser.h"
#include "controls/CommandButton.h"
#include "controls/Named.h"
#include "controls/SizerBarX.h"
#include "controls/SizerBarY.h"
#include "controls/TreeControl.h"
#include "controls/UserProgress.h"
#include "core/Twips.h"

namespace {

constexpr int kTopBarHeight = 480;
constexpr int kBottomBarHeight = 360;
constexpr int kButtonSize = 390;
constexpr int kLeftBarWidth = 3300;
constexpr int kPreviewHeight = 3000;
constexpr int kStatusWidth = 1800;
constexpr int kPicsWidth = 1200;

int Px(int twips) { return Twips::ToPixels(twips); }
int Tw(int pixels) { return int(Twips::FromPixels(pixels)); }

QPixmap StylePicture(QStyle::StandardPixmap which) {
  return QApplication::style()->standardIcon(which).pixmap(20, 20);
}

// A small landscape with an arrow pressing it smaller: the optimise command.
QPixmap OptimizePicture() {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 60, 60), 1));
  p.setBrush(QColor(120, 170, 230));
  p.drawRect(QRectF(1.5, 5.5, 13, 11));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 140, 60));
  p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(7, 10), QPointF(11, 13), QPointF(14, 16)}));
  p.setBrush(QColor(200, 40, 40));
  p.drawPolygon(QPolygonF({QPointF(19, 1), QPointF(19, 9), QPointF(11, 9)}));
  return pm;
}

// The save picture with a pen across it: save under another name.
QPixmap SaveAsPicture() {
  QPixmap pm = StylePicture(QStyle::SP_DialogSaveButton);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(150, 60, 0), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(11, 18), QPointF(18, 11));
  return pm;
}

QLabel* StatusField(const char* name, const char* text, QWidget* parent) {
  auto* field = Named(new QLabel(QString::fromLatin1(text), parent), name);
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setAlignment(Qt::AlignCenter);
  return field;
}

}  // namespace

void frmMainForm::BuildControls() {
  auto* central = Named(new QWidget(this), "Client");
  setCentralWidget(central);
  TopBar_ = Named(new QWidget(central), "TopBar");
  LeftBar_ = Named(new QWidget(central), "LeftBar");
  BottomBar_ = Named(new QWidget(central), "BottomBar");
  TreeControl_ = Named(new TreeControl(LeftBar_), "TreeControl");
  SizerBarY_ = Named(new SizerBarY(LeftBar_), "SizerBarY");
  ImagePreview_ = Named(new ImagePreview(LeftBar_), "ImagePreview");
  SizerBar_ = Named(new SizerBarX(central), "SizerBar");
  PictureBrowser_ = Named(new PictureBrowser(central), "PictureBrowser");
  SizerBar_->setCursor(Qt::SplitHCursor);
  SizerBarY_->setCursor(Qt::SplitVCursor);
  SizerBar_->setAccessibleName(QStringLiteral("Folder pane width"));
  SizerBarY_->setAccessibleName(QStringLiteral("Preview height"));
  BuildToolbar();
  // Tab goes as the eye does: the toolbar, the folders, the splitters, the thumbnails.
  const QList<QWidget*> tabOrder = {cmdOpen_,    cmdSave_,   cmdSaveAs_, cmdOptimize_,    cmdRefresh_,
                                    TreeControl_, SizerBarY_, SizerBar_,  PictureBrowser_};
  for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  txtSize_ = StatusField("txtSize", "Image(s) size", BottomBar_);
  txtDimensions_ = StatusField("txtDimensions", "Image dimensions", BottomBar_);
  txtPics_ = StatusField("txtPics", "Image count", BottomBar_);
  cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), BottomBar_), "cmdCancel");
  cmdCancel_->hide();
  cmdCancel_->installEventFilter(this);
  Progress_ = Named(new UserProgress(BottomBar_), "Progress");
  Progress_->SetBarText(QString());
  Progress_->UseDesktopColours();

  const int barPixels = Px(kBottomBarHeight) - 4;
  txtSize_->resize(Px(kStatusWidth), barPixels);
  txtDimensions_->resize(Px(kStatusWidth), barPixels);
  txtPics_->resize(Px(kPicsWidth), barPixels);
  cmdCancel_->resize(Px(kPicsWidth), barPixels);
  Progress_->resize(Px(kStatusWidth), barPixels);
  LeftBar_->resize(Px(kLeftBarWidth), LeftBar_->height());
  ImagePreview_->resize(ImagePreview_->width(), Px(kPreviewHeight));
  SizerBarY_->resize(SizerBarY_->width(), SizerBarY::kThickness);
  for (QWidget* w : {central, LeftBar_, BottomBar_}) w->installEventFilter(this);
  BuildMenus();
  // Room for five columns of thumbnails where the screen allows it, centred on the screen.
  QSize size(Px(15750), Px(10800));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect free = screen->availableGeometry();
    size = size.boundedTo(free.size() * 9 / 10);
    move(free.center() - QPoint(size.width() / 2, size.height() / 2));
  }
  resize(size);
}

void frmMainForm::BuildToolbar() {
  const struct {
    CommandButton** button;
    const char* name;
    const char* tip;
    QPixmap picture;
  } buttons[] = {
      {&cmdOpen_, "cmdOpen", "Open", StylePicture(QStyle::SP_DialogOpenButton)},
      {&cmdSave_, "cmdSave", "Save", StylePicture(QStyle::SP_DialogSaveButton)},
      {&cmdSaveAs_, "cmdSaveAs", "Save as", SaveAsPicture()},
      {&cmdOptimize_, "cmdOptimize", "Optimize", OptimizePicture()},
      {&cmdRefresh_, "cmdRefresh", "Refresh", StylePicture(QStyle::SP_BrowserReload)},
  };
  int left = 3;
  const int size = Px(kButtonSize);
  for (const auto& b : buttons) {
    *b.button = Named(new CommandButton(TopBar_), b.name);
    (*b.button)->SetPicture(b.picture);
    (*b.button)->SetHideBorder(true);
    (*b.button)->setToolTip(QString::fromLatin1(b.tip));
    (*b.button)->setGeometry(left, (Px(kTopBarHeight) - size) / 2, size, size);
    left += size + 2;
  }
}

void frmMainForm::BuildMenus() {
  const auto item = [](QMenu* menu, const char* name, const char* caption) {
    QAction* action = Named(menu->addAction(QString::fromLatin1(caption)), name);
    return action;
  };
  QMenu* file = Named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
  mnuFOpen_ = item(file, "mnuFOpen", "&Open...");
  mnuFOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  file->addSeparator();
  mnuFSave_ = item(file, "mnuFSave", "&Save");
  mnuFSaveAs_ = item(file, "mnuFSaveAs", "Save &as...");
  mnuFSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnuFSaveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  QAction* exit = item(file, "mnuFExit", "&Exit");

  QMenu* tools = Named(menuBar()->addMenu(QStringLiteral("&Tools")), "mnuTools");
  QAction* selectAll = item(tools, "mnuTSelectAll", "Select &All");
  selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  tools->addSeparator();
  mnuTBatch_ = item(tools, "mnuTBatch", "&Batch...");

  QMenu* help = Named(menuBar()->addMenu(QStringLiteral("&Help")), "mnuHelp");
  QAction* helpItem = item(help, "mnuHHelp", "&Help...");
  helpItem->setShortcut(QKeySequence(Qt::Key_F1));
  mnuHWizard_ = item(help, "mnuHWizard", "Startup wizard...");
  help->addSeparator();
  QAction* about = item(help, "mnuHAbout", "&About...");

  mnuBrowser_ = Named(new QMenu(this), "mnuBrowser");
  QAction* view = item(mnuBrowser_, "mnuBView", "View");
  QAction* optimize = item(mnuBrowser_, "mnuBOptimize", "Optimize");
  mnuBrowser_->addSeparator();
  QAction* remove = item(mnuBrowser_, "mnuBDelete", "Delete");

  connect(mnuFOpen_, &QAction::triggered, this, &frmMainForm::cmdOpen_Click);
  connect(mnuFSave_, &QAction::triggered, this, &frmMainForm::cmdSave_Click);
  connect(mnuFSaveAs_, &QAction::triggered, this, &frmMainForm::cmdSaveAs_Click);
  connect(exit, &QAction::triggered, this, &frmMainForm::close);
  connect(selectAll, &QAction::triggered, PictureBrowser_, &PictureBrowser::SelectAll);
  connect(mnuTBatch_, &QAction::triggered, this, &frmMainForm::mnuTBatch_Click);
  connect(helpItem, &QAction::triggered, this, &frmMainForm::mnuHHelp_Click);
  connect(mnuHWizard_, &QAction::triggered, this, &frmMainForm::mnuHWizard_Click);
  connect(about, &QAction::triggered, this, &frmMainForm::mnuHAbout_Click);
  connect(view, &QAction::triggered, this, &frmMainForm::mnuBView_Click);
  connect(optimize, &QAction::triggered, this, &frmMainForm::cmdOptimize_Click);
  connect(remove, &QAction::triggered, this, &frmMainForm::mnuBDelete_Click);
}

void frmMainForm::ConnectControls() {
  connect(cmdOpen_, &CommandButton::Click, this, &frmMainForm::cmdOpen_Click);
  connect(cmdSave_, &CommandButton::Click, this, &frmMainForm::cmdSave_Click);
  connect(cmdSaveAs_, &CommandButton::Click, this, &frmMainForm::cmdSaveAs_Click);
  connect(cmdOptimize_, &CommandButton::Click, this, &frmMainForm::cmdOptimize_Click);
  connect(cmdRefresh_, &CommandButton::Click, this, &frmMainForm::cmdRefresh_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { cancel_ = true; });
  connect(SizerBar_, &SizerBarX::Dragged, this, &frmMainForm::SizerBar_Dragged);
  connect(SizerBarY_, &SizerBarY::Dragged, this, &frmMainForm::SizerBarY_Dragged);
  connect(TreeControl_, &TreeControl::FolderSelected, this,
          [this](const QString& path) { PictureBrowser_->SetDirectory(path); });
  connect(PictureBrowser_, &PictureBrowser::SelectionChanged, this,
          &frmMainForm::Browser_SelectionChanged);
  connect(PictureBrowser_, &PictureBrowser::SelectedPictureRead, this,
          &frmMainForm::ShowSelectedDimensions);
  connect(PictureBrowser_, &PictureBrowser::DblClick, this, &frmMainForm::cmdOptimize_Click);
  connect(PictureBrowser_, &PictureBrowser::DeleteRequested, this, &frmMainForm::mnuBDelete_Click);
  connect(PictureBrowser_, &PictureBrowser::Menu, this, &frmMainForm::Browser_Menu);
}

// The docked parts follow the client area; the browser's width is the one computed size.
void frmMainForm::Form_Resize() {
  QWidget* client = centralWidget();
  const int w = client->width(), h = client->height();
  const int top = Px(kTopBarHeight), bottom = Px(kBottomBarHeight);
  const int middle = std::max(0, h - top - bottom);
  TopBar_->setGeometry(0, 0, w, top);
  BottomBar_->setGeometry(0, h - bottom, w, bottom);
  LeftBar_->setGeometry(0, top, LeftBar_->width(), middle);
  SizerBar_->setGeometry(LeftBar_->width(), top, SizerBar_->width(), middle);
  const int browserLeft = SizerBar_->geometry().right() + 1;
  const auto width = MainLayout::BrowserWidth(Tw(w), Tw(browserLeft));
  PictureBrowser_->setGeometry(browserLeft, top, width ? Px(*width) : PictureBrowser_->width(),
                               middle);
  client->repaint();
}

void frmMainForm::LeftBar_Resize() {
  const int w = LeftBar_->width();
  const MainLayout::LeftBarParts parts = MainLayout::LeftBar(
      Tw(LeftBar_->height()), Tw(ImagePreview_->height()), Tw(SizerBarY_->height()));
  ImagePreview_->setGeometry(0, Px(parts.previewTop), w, ImagePreview_->height());
  SizerBarY_->setGeometry(0, Px(parts.sizerTop), w, SizerBarY_->height());
  TreeControl_->setGeometry(0, 0, w, Px(parts.treeHeight));
}

void frmMainForm::BottomBar_Resize() {
  const MainLayout::BottomBarParts parts =
      MainLayout::BottomBar(Tw(BottomBar_->width()), Tw(cmdCancel_->width()), Tw(txtSize_->width()),
                            Tw(txtDimensions_->width()));
  const int y = 2;
  cmdCancel_->move(Px(parts.cancelLeft), y);
  txtPics_->move(Px(parts.picsLeft), y);
  txtSize_->move(Px(parts.sizeLeft), y);
  txtDimensions_->move(Px(parts.dimensionsLeft), y);
  if (parts.progressWidth)
    Progress_->setGeometry(0, y, Px(*parts.progressWidth), Progress_->height());
}

void frmMainForm::SizerBar_Dragged(int pixels) {
  const auto width = MainLayout::DragLeftBar(Tw(LeftBar_->width()), Tw(pixels),
                                             Tw(centralWidget()->width()), Tw(SizerBar_->width()));
  if (!width) return;
  LeftBar_->resize(Px(*width), LeftBar_->height());
  Form_Resize();
}

void frmMainForm::SizerBarY_Dragged(int pixels) {
  const auto height = MainLayout::DragPreview(Tw(ImagePreview_->height()), Tw(pixels),
                                              Tw(LeftBar_->height()), Tw(SizerBarY_->height()));
  if (!height) return;
  ImagePreview_->resize(ImagePreview_->width(), Px(*height));
  LeftBar_Resize();
}

bool frmMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == centralWidget()) Form_Resize();
    if (watched == LeftBar_) LeftBar_Resize();
    if (watched == BottomBar_) BottomBar_Resize();
  }
  if (watched == cmdCancel_) {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::FocusOut:
      case QEvent::MouseButtonPress:
        cancel_ = true;
        break;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
