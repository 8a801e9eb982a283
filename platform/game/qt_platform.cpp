#include "qt_platform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QProcess>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include "emulated_frame.h"
#include "ids_and_sizes.h"
#include "info_dialogs.h"
#include "key_bindings.h"
#include "key_tracker.h"
#include "settings.h"
#include "shell.h"
#include "start_dialog.h"
#include "surface.h"
#include "x11_presenter.h"

namespace blok::qt {

// The top-level window: its close button ends the game, its activation hands the keyboard to
// the start dialog.
class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(QtPlatform& platform)
        : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                   Qt::WindowCloseButtonHint),
          platform_(platform) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        platform_.Deliver([](Shell& shell) { shell.OnDestroy(); });
        event->accept();
    }

    void changeEvent(QEvent* event) override {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
            platform_.Deliver([](Shell& shell) { shell.OnActivate(); });
        }
    }

  private:
    QtPlatform& platform_;
};

// The client area: shows what the game composes. Repaints never erase it first.
class ClientArea : public QWidget {
  public:
    ClientArea(QtPlatform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
        setObjectName(QStringLiteral("ClientArea"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }

    // Asks for the rows named since the last one to be shown once the queue is idle, as a
    // repaint would be, but without the toolkit's repaint.
    static void PostPresentRows(QWidget* client) {
        QCoreApplication::postEvent(client, new QEvent(PresentRowsEvent()), Qt::LowEventPriority);
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != PresentRowsEvent()) return QWidget::event(event);
        platform_.PresentRows();
        return true;
    }
    void paintEvent(QPaintEvent* event) override { platform_.Paint(event); }
    void resizeEvent(QResizeEvent* event) override {
        platform_.ClientResized(event->oldSize(), event->size());
    }

  private:
    static QEvent::Type PresentRowsEvent() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    QtPlatform& platform_;
};

namespace {

// Calls back when an object sees events of one type, before the object handles them.
class EventWatcher : public QObject {
  public:
    EventWatcher(QEvent::Type type, std::function<void()> seen)
        : type_(type), seen_(std::move(seen)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) seen_();
        return QObject::eventFilter(watched, event);
    }

  private:
    QEvent::Type type_;
    std::function<void()> seen_;
};

// The light grey that shows where the desktop uncovers or enlarges the window, until the game
// paints there.
constexpr QColor kClassBackground{192, 192, 192};

struct MenuItem {
    int id;  // 0: a separator, or a submenu when it has items
    const char* text;
    std::initializer_list<MenuItem> items = {};
};

struct MenuPopup {
    const char* title;
    std::initializer_list<MenuItem> items;
};

const std::initializer_list<MenuPopup> kMenu = {
    {"&File", {{kCmdQuit, "&Quit"}}},
    {"&Game", {{kCmdHiscore, "&Hiscore"}, {0, nullptr}, {kCmdQuitGame, "Q&uit Game"}}},
    {"&Music",
     {{kCmdMusicPlay, "Music &Play"},
      {kCmdMusicStop, "Music St&op"},
      {0, nullptr},
      {kCmdSkipMusic, "S&kip Music"}}},
    {"&Background", {{kCmdPicture, "&Picture"}, {kCmdWhite, "&White"}}},
    {"&Help",
     {{kCmdGameInfo, "&Game"},
      {kCmdHelpFile, "&Help Topics"},
      {0, nullptr},
      {kCmdAbout, "&About"}}},
    {"&Options",
     {
         {kCmdZoom1, "Zoom &1x"},
         {kCmdZoom1 + 1, "Zoom &2x"},
         {kCmdZoom1 + 2, "Zoom &3x"},
         {kCmdZoom4, "Zoom &4x"},
         {kCmdFullScreen, "&Full Screen\tF11"},
         {0, nullptr},
         {kCmdControls, "&Controls..."},
         {kCmdVolume, "&Volume..."},
         {kCmdPauseOnFocusLoss, "Pause &When Inactive"},
         {kCmdShowPaused, "&Show \"Paused\""},
         {0,
          "Computer &Player",
          {{kCmdComputerOff, "&Off"},
           {kCmdComputerOff + 1, "&Easy"},
           {kCmdComputerOff + 2, "&Normal"},
           {kCmdComputerHard, "&Hard"}}},
         {0, nullptr},
         {kCmdHostFight, "&Host a network fight…"},
         {kCmdJoinFight, "&Join a network fight…"},
     }},
};

bool StartDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Rect ToRect(QPoint topLeft, QSize size) {
    return Rect{topLeft.x(), topLeft.y(), topLeft.x() + size.width(), topLeft.y() + size.height()};
}

}  // namespace

QtPlatform::QtPlatform() : keys_(std::make_unique<KeyTracker>()), launcher_(StartDetached) {
    // Rows are put into the main window itself, so its client area must stay a part of it: by
    // default, a dialog of the window that asks for its native handle (as those opening in the
    // middle of the screen do) would make every widget of the window native, and the client
    // area's own native window would then hide the rows.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QCoreApplication::instance()->installEventFilter(keys_.get());
    // Tells the game when another program takes the keyboard.
    focusWatcher_ = std::make_unique<EventWatcher>(QEvent::ApplicationDeactivate, [this] {
        Deliver([](Shell& shell) { shell.OnDeactivate(); });
    });
    QCoreApplication::instance()->installEventFilter(focusWatcher_.get());
}

QtPlatform::~QtPlatform() {
    timers_.clear();
    presenter_.reset();
    delete startDialog_.data();
    window_.reset();
}

void QtPlatform::Attach(Shell& shell) {
    shell_ = &shell;
}

template <typename Call>
void QtPlatform::Deliver(Call&& call) {
    if (shell_ && !quitPosted_) call(*shell_);
}

bool QtPlatform::CreateMainWindow() {
    if (QGuiApplication::primaryScreen() == nullptr) return false;
    auto window = std::make_unique<MainWindow>(*this);
    window->setWindowTitle(QStringLiteral("Blokfall"));
    if (QFile::exists(QStringLiteral(":/icons/blokfall-64.png"))) {
        QIcon icon(QStringLiteral(":/icons/blokfall-64.png"));
        icon.addFile(QStringLiteral(":/icons/blokfall-256.png"));
        window->setWindowIcon(icon);
    }
    window->menuBar()->setNativeMenuBar(false);  // part of the window, as the layout counts it
    client_ = new ClientArea(*this, window.get());
    window->setCentralWidget(client_);
    window_ = std::move(window);
    BuildMenu();

    window_->move(kInitialWindowPos);
    ResizeClient(ClientSizeForOuter(kInitialOuterSize) * zoom_);
    window_->winId();
    if (window_->windowHandle() == nullptr) {
        client_ = nullptr;
        window_.reset();
        return false;
    }
    eraseRegion_ = QRegion(client_->rect());
    StartDirectPresentation();
    Deliver([](Shell& shell) { shell.OnCreate(); });
    return true;
}

void QtPlatform::BuildMenu() {
    QMenuBar* bar = window_->menuBar();
    const auto addItems = [this](const auto& self, QMenu* menu,
                                 std::initializer_list<MenuItem> items) -> void {
        for (const MenuItem& item : items) {
            if (item.items.size() != 0) {
                self(self, menu->addMenu(QString::fromUtf8(item.text)), item.items);
                continue;
            }
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            const int id = item.id;
            action->setData(id);
            QObject::connect(action, &QAction::triggered, action, [this, action, id] {
                // A check mark moves only when the game says so.
                if (action->isCheckable()) action->setChecked(marked_[id]);
                Command(id);
            });
            menu_[id] = action;
        }
    };
    for (const MenuPopup& popup : kMenu) {
        addItems(addItems, bar->addMenu(QString::fromUtf8(popup.title)), popup.items);
    }
    // Full screen is reached by its key too, and left by Escape, also while the menu is hidden.
    if (QAction* fullScreen = MenuAction(kCmdFullScreen)) {
        fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
        window_->addAction(fullScreen);
    }
    auto* leave = new QShortcut(QKeySequence(Qt::Key_Escape), window_.get());
    QObject::connect(leave, &QShortcut::activated, window_.get(), [this] {
        if (fullScreen_) Command(kCmdFullScreen);
    });
}

void QtPlatform::SetCommandHandler(int first, int last, std::function<void(int)> handler) {
    commandHandlers_.push_back({first, last, std::move(handler)});
}

void QtPlatform::Command(int id) {
    if (quitPosted_) return;
    for (const CommandRange& range : commandHandlers_) {
        if (id >= range.first && id <= range.last) {
            range.handler(id);
            return;
        }
    }
    Deliver([id](Shell& shell) { shell.OnCommand(id); });
}

void QtPlatform::ShowAndPaint() {
    if (!window_) return;
    window_->show();
    client_->repaint();
}

int QtPlatform::Exec() {
    if (quitPosted_) return quitCode_;
    const int code = QApplication::exec();
    return quitPosted_ ? quitCode_ : code;
}

QMainWindow* QtPlatform::Window() const {
    return window_.get();
}
QWidget* QtPlatform::Client() const {
    return client_;
}
StartDialog* QtPlatform::StartDialogWidget() const {
    return startDialog_.data();
}

QAction* QtPlatform::MenuAction(int id) const {
    const auto found = menu_.find(id);
    return found == menu_.end() ? nullptr : found->second;
}

const QTimer* QtPlatform::Timer(int id) const {
    const auto found = timers_.find(id);
    return found == timers_.end() ? nullptr : found->second.get();
}

// --- timers ---------------------------------------------------------------------------------

void QtPlatform::SetTimer(int id, int milliseconds) {
    if (quitPosted_) return;
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        // The rows a timer names are shown as soon as its handler is done.
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
            const bool outer = std::exchange(inTimer_, true);  // a dialog may run timers inside
            Deliver([id](Shell& shell) { shell.OnTimer(id); });
            inTimer_ = outer;
            PresentRows();
        });
    }
    timer->start(std::max(0, milliseconds));  // restarts a running countdown
}

void QtPlatform::KillTimer(int id) {
    if (const auto found = timers_.find(id); found != timers_.end()) found->second->stop();
}

// --- painting -------------------------------------------------------------------------------

// Rows the game names are put straight into the window where the display allows it; everything
// else (uncovered parts, whole frames, the paused marker) is painted through the toolkit.
void QtPlatform::StartDirectPresentation() {
    if (qEnvironmentVariableIsSet("BLOKFALL_TOOLKIT_PAINT_ONLY")) return;
    presenter_ = X11Presenter::ForWindow(*window_);
    if (!presenter_) return;
    // The toolkit shows an uncovered part from its own copy of the window, which lacks the rows
    // put past it: those are repainted in the same pass.
    exposeWatcher_ = std::make_unique<EventWatcher>(QEvent::Expose, [this] {
        if (!shownPastToolkit_.isEmpty()) RepaintThroughToolkit(shownPastToolkit_);
    });
    window_->windowHandle()->installEventFilter(exposeWatcher_.get());
}

bool QtPlatform::CanPresentDirectly() const {
    return presenter_ && !pausedMarker_ && onePixelPerPixel_ && client_->isVisible();
}

void QtPlatform::RepaintThroughToolkit(const QRegion& region) {
    toolkitPaintPending_ = true;
    client_->update(region);
}

void QtPlatform::InvalidateAll() {
    if (client_) RepaintThroughToolkit(client_->rect());
}

void QtPlatform::InvalidateTop(int bottom) {
    InvalidateRows(0, bottom);
}

void QtPlatform::InvalidateRows(int top, int bottom) {
    if (!client_ || bottom <= top) return;
    const QRect frame = FrameRect(LogicalClient());
    const QRect rows(frame.left(), frame.top() + top * Scale(), frame.width(),
                     (bottom - top) * Scale());
    if (!CanPresentDirectly()) {
        RepaintThroughToolkit(rows);
        return;
    }
    if (rowsToPresent_.isEmpty() && !inTimer_) ClientArea::PostPresentRows(client_);
    rowsToPresent_ |= rows;
}

// The game paints the named rows now, and they go straight to the window. A repaint the
// toolkit has pending paints them anyway, with the rest, in one paint.
void QtPlatform::PresentRows() {
    const QRect rows = std::exchange(rowsToPresent_, QRect());
    if (rows.isEmpty() || !client_) return;
    if (toolkitPaintPending_ || !CanPresentDirectly()) {
        RepaintThroughToolkit(rows);
        return;
    }
    presentingRows_ = rows;
    DeliverPaint();
    presentingRows_ = QRect();
}

// The game draws its frame while it paints. Rows the display may read only while that goes on
// are put again afterwards.
void QtPlatform::DeliverPaint() {
    if (presenter_ && presenter_->AllPutsRead()) rowsMaybeUnread_ = QRect();
    Deliver([](Shell& shell) { shell.OnPaint(); });
}

std::shared_ptr<std::uint32_t[]> QtPlatform::LendFramePixels(int width, int height) {
    return presenter_ ? presenter_->LendFrame(width, height) : nullptr;
}

void QtPlatform::ClientResized(QSize oldSize, QSize newSize) {
    const QRegion before(QRect(QPoint(0, 0), oldSize.expandedTo(QSize(0, 0))));
    eraseRegion_ += QRegion(QRect(QPoint(0, 0), newSize)) - before;
    PlaceStartDialog();
}

QSize QtPlatform::LogicalClient() const {
    if (!client_) return QSize();
    return fullScreen_ ? logicalClient_ : client_->size() / zoom_;
}

int QtPlatform::Scale() const {
    if (!fullScreen_ || !client_ || logicalClient_.isEmpty()) return zoom_;
    // Full screen: the largest whole scale at which the frame fits.
    const int across = client_->width() / logicalClient_.width();
    const int down = client_->height() / logicalClient_.height();
    return std::max(1, std::min(across, down));
}

// Where a frame of this many game pixels lies in the client widget.
QRect QtPlatform::FrameRect(QSize frame) const {
    const int scale = Scale();
    QPoint origin(0, 0);
    if (fullScreen_ && client_) {
        const QSize shown = LogicalClient() * scale;
        origin = QPoint(std::max(0, (client_->width() - shown.width()) / 2),
                        std::max(0, (client_->height() - shown.height()) / 2));
    }
    return QRect(origin, frame * scale);
}

void QtPlatform::Paint(QPaintEvent* event) {
    toolkitPaintPending_ = false;
    // A move to a screen of another pixel ratio repaints the window, so it is noticed here.
    onePixelPerPixel_ = client_->devicePixelRatioF() == 1.0;
    shownPastToolkit_ -= event->region();
    if (fullScreen_) {
        // Black around the frame; the frame covers the rest, so nothing is left to clear.
        QPainter painter(client_);
        const QRegion outside = QRegion(client_->rect()) - FrameRect(LogicalClient());
        for (const QRect& rect : outside & event->region()) painter.fillRect(rect, Qt::black);
        eraseRegion_ = QRegion();
    }
    const QRegion erase = eraseRegion_ & event->region();
    if (!erase.isEmpty()) {
        QPainter painter(client_);
        for (const QRect& rect : erase) painter.fillRect(rect, kClassBackground);
        eraseRegion_ -= erase;
    }
    inPaint_ = true;
    presentedInPaint_ = false;
    DeliverPaint();
    inPaint_ = false;
    // A paint the game answers with nothing (while the name dialog is open) leaves the last
    // frame on screen; the toolkit's own copy of the window may be older than it.
    if (!presentedInPaint_ && lastFrame_.surface != nullptr) {
        PaintFrame(*lastFrame_.surface, lastFrame_.size);
    }
}

void QtPlatform::Present(const Surface& surface, int width, int height) {
    const int shownWidth = std::min(width, surface.Width());
    const int shownHeight = std::min(height, surface.Height());
    if (!client_ || shownWidth <= 0 || shownHeight <= 0) return;
    const QSize shown(shownWidth, shownHeight);
    if (!presentingRows_.isEmpty()) {
        lastFrame_ = {&surface, shown};
        PutRows(surface, presentingRows_ | rowsMaybeUnread_, FrameRect(shown));
        return;
    }
    // Otherwise only a paint can reach the screen.
    if (!inPaint_) return;
    lastFrame_ = {&surface, shown};
    presentedInPaint_ = true;
    PaintFrame(surface, shown);
}

// Paints the frame's `shown` part where the paint under way asks for it (the painter clips to
// what was invalidated).
void QtPlatform::PaintFrame(const Surface& surface, QSize shown) {
    const QRect target = FrameRect(shown);
    // A frame wider than the client area must not spill onto full screen's black border.
    const QRect client = FrameRect(LogicalClient());
    const QImage frame(reinterpret_cast<const uchar*>(surface.Pixels()), surface.Width(),
                       surface.Height(), static_cast<qsizetype>(surface.Width()) * 4,
                       QImage::Format_RGB32);
    QPainter painter(client_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);  // crisp at any scale
    painter.setClipRect(client, Qt::IntersectClip);
    painter.drawImage(target, frame, QRect(QPoint(0, 0), shown));
    if (pausedMarker_) DrawPausedMarker(painter, target);
    painter.end();
    if (!rowsMaybeUnread_.isEmpty() && CanPresentDirectly()) {
        PutRows(surface, rowsMaybeUnread_, target);
    }
    StampFirstFrame();
}

// Puts `wanted` rows of the client, except where the start dialog (or any other child) lies.
void QtPlatform::PutRows(const Surface& surface, QRect wanted, QRect target) {
    QRegion visible = QRegion(wanted & target);
    for (const QObject* object : client_->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child != nullptr && child->isVisible()) visible -= child->geometry();
    }
    if (visible.isEmpty()) return;
    const QRect bounds = visible.boundingRect();
    const int scale = Scale();
    const FrameRows rows{.pixels = surface.Pixels(),
                         .stride = surface.Width(),
                         .width = target.width() / scale,
                         .height = target.height() / scale,
                         .top = (bounds.top() - target.top()) / scale,
                         .bottom = (bounds.bottom() + 1 - target.top() + scale - 1) / scale,
                         .scale = scale};
    const QPoint offset = client_->mapTo(window_.get(), QPoint(0, 0));
    presenter_->Put(rows, target.topLeft() + offset, visible.translated(offset));
    shownPastToolkit_ += visible;
    rowsMaybeUnread_ |= wanted;
}

// A black box with "Paused" in the middle of the frame, in the desktop's own font.
void QtPlatform::DrawPausedMarker(QPainter& painter, QRect frame) {
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(16 * Scale());
    painter.setFont(font);
    const QString text = QStringLiteral("Paused");
    QRect box = painter.fontMetrics().boundingRect(text).marginsAdded(QMargins(12, 6, 12, 6));
    box.moveCenter(frame.center());
    painter.fillRect(box, Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

void QtPlatform::ShowPausedMarker(bool shown) {
    if (pausedMarker_ == shown) return;
    pausedMarker_ = shown;
    InvalidateAll();
}

// Start-up timing: when asked through the environment, note when the first frame was shown.
void QtPlatform::StampFirstFrame() {
    if (framePresented_) return;
    framePresented_ = true;
    const QString path = qEnvironmentVariable("BLOKFALL_FIRST_FRAME_FILE");
    if (path.isEmpty()) return;
    QFile stamp(path);
    if (stamp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        stamp.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n');
    }
}

// --- window geometry ------------------------------------------------------------------------

Rect QtPlatform::ClientRect() const {
    return client_ ? ToRect(QPoint(0, 0), LogicalClient()) : Rect{};
}

Rect QtPlatform::WindowRect() const {
    if (!window_) return Rect{};
    return ToRect(window_->pos(), OuterSizeForClient(LogicalClient()));
}

void QtPlatform::MoveWindow(int left, int top, int width, int height) {
    if (!window_) return;
    const QSize client = ClientSizeForOuter(QSize(width, height));
    if (fullScreen_) {
        logicalClient_ = client;  // the size the window takes when full screen ends
    } else {
        window_->move(left, top);
        ResizeClient(client * zoom_);
    }
    client_->update();
}

// The largest zoom at which the whole window, with the desktop's frame, fits on its screen.
int QtPlatform::LargestFittingZoom() const {
    const QScreen* screen = window_->screen();
    if (screen == nullptr) return kMaxZoom;
    const QSize room = screen->availableGeometry().size();
    QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    if (frame.isEmpty()) frame = QSize(2 * kFrameBorder, 2 * kFrameBorder + kCaptionHeight);
    const QSize menu(0, window_->menuBar()->isVisible() ? window_->menuBar()->height() : 0);
    const QSize client = fullScreen_ ? logicalClient_ : LogicalClient();
    const QSize decoration = menu + frame;
    return blok::LargestFittingZoom(client.width(), client.height(), decoration.width(),
                                    decoration.height(), room.width(), room.height());
}

void QtPlatform::SetZoom(int zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (!window_) {
        zoom_ = zoom;
        return;
    }
    // Zooms the screen cannot hold are not offered; a stored one shows at the largest that fits.
    const int fitting = LargestFittingZoom();
    for (int each = kMinZoom; each <= kMaxZoom; ++each) {
        EnableMenuItem(kCmdZoom1 + each - 1, each <= fitting);
    }
    zoom = std::min(zoom, fitting);
    const QSize client = LogicalClient();
    zoom_ = zoom;
    if (!fullScreen_) ResizeClient(client * zoom_);
    PlaceStartDialog();
    client_->update();
}

void QtPlatform::SetFullScreen(bool on) {
    if (!window_ || on == fullScreen_) return;
    if (on) {
        logicalClient_ = LogicalClient();
        normalPosition_ = window_->geometry().topLeft();
    }
    fullScreen_ = on;
    window_->menuBar()->setVisible(!on);
    if (on) {
        window_->showFullScreen();
    } else {
        window_->showNormal();
        ResizeClient(logicalClient_ * zoom_);
        // Where it stood, its caption on the screen. By the inner corner: the desktop may not
        // have framed the window again yet.
        window_->setGeometry(QRect(normalPosition_, window_->size()));
    }
    PlaceStartDialog();
    client_->update();
}

void QtPlatform::ResizeClient(QSize client) {
    QMenuBar* bar = window_->menuBar();
    int menuHeight = bar->heightForWidth(client.width());
    if (menuHeight < 0) menuHeight = bar->sizeHint().height();
    window_->resize(client.width(), client.height() + menuHeight);
    // A hidden window lays itself out only when shown; the client's size must be right now.
    client_->resize(client);
}

void QtPlatform::FocusMainWindow() {
    if (!window_) return;
    window_->activateWindow();
    client_->setFocus(Qt::OtherFocusReason);
}

void QtPlatform::PostQuit(int code) {
    if (quitPosted_) return;
    quitPosted_ = true;
    quitCode_ = code;
    lastFrame_ = {};  // the game releases its frames as it ends
    for (auto& [id, timer] : timers_) timer->stop();
    QCoreApplication::exit(code);  // ends nested loops too; harmless before the loop runs
}

// --- menu -----------------------------------------------------------------------------------

void QtPlatform::CheckMenuItem(int id, bool checked) {
    if (QAction* action = MenuAction(id)) {
        action->setCheckable(true);
        action->setChecked(checked);
        marked_[id] = checked;
    }
}

void QtPlatform::EnableMenuItem(int id, bool enabled) {
    if (QAction* action = MenuAction(id)) action->setEnabled(enabled);
}

// --- keyboard -------------------------------------------------------------------------------

bool QtPlatform::PressedSinceLastRead(int key) {
    if (IsPadKey(key)) {
        return pads_ && pads_->PressedSinceLastRead(PadOfKey(key), PadButtonOfKey(key));
    }
    return keys_->PressedSinceLastRead(key);
}

bool QtPlatform::Held(int key) {
    if (IsPadKey(key)) return pads_ && pads_->Held(PadOfKey(key), PadButtonOfKey(key));
    return keys_->Held(key);
}

// --- start dialog ---------------------------------------------------------------------------

bool QtPlatform::CreateStartDialog() {
    if (!client_) return false;
    DestroyStartDialog();
    startDialog_ = new StartDialog(
        client_, [this](int id) { Deliver([id](Shell& shell) { shell.StartDialogCommand(id); }); });
    startDialogHome_ = startDialog_->pos();
    PlaceStartDialog();
    startDialog_->show();
    Deliver([](Shell& shell) { shell.StartDialogInit(); });
    if (startDialog_) startDialog_->TakeFocus();
    return true;
}

void QtPlatform::DestroyStartDialog() {
    if (!startDialog_) return;
    StartDialog* dialog = startDialog_.data();
    startDialog_ = nullptr;
    const QRect covered = dialog->geometry();
    dialog->hide();
    dialog->deleteLater();  // it may be inside its own button's click right now
    client_->update(covered);
}

void QtPlatform::FocusStartDialog() {
    if (startDialog_) startDialog_->TakeFocus();
}

void QtPlatform::CheckRadioButton(int first, int last, int checked) {
    if (startDialog_) startDialog_->CheckRadioButton(first, last, checked);
}

Rect QtPlatform::StartDialogRect() const {
    if (!startDialog_ || !window_) return Rect{};
    // In game pixels: the dialog keeps its size on an enlarged frame.
    const QSize size = startDialog_->size() / Scale();
    return ToRect(window_->pos() + kClientOffset + startDialogHome_, size);
}

// The dialog stands where it belongs on the frame, however large the frame is shown.
void QtPlatform::PlaceStartDialog() {
    if (!startDialog_) return;
    startDialog_->SetScale(Scale());
    startDialog_->move(FrameRect(QSize()).topLeft() + startDialogHome_ * Scale());
}

// --- modal dialogs and help -----------------------------------------------------------------

void QtPlatform::RunInfoDialog() {
    InfoDialog dialog(window_.get(), shownKeys_);
    dialog.exec();
}

void QtPlatform::RunAboutDialog() {
    AboutDialog dialog(window_.get());
    dialog.exec();
}

void QtPlatform::ShowMessage(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, FromView(caption), FromView(text), QMessageBox::Ok,
                    window_.get());
    box.exec();
}

void QtPlatform::OpenHelp(const std::string& path) {
    // A failed start is not reported: the game goes on without its help.
    launcher_(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--help-viewer"), QString::fromStdString(path)});
}

}  // namespace blok::qt
