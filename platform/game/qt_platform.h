#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QPointer>
#include <QRegion>
#include <QString>
#include <QStringList>

#include "key_bindings.h"
#include "pad_input.h"
#include "platform.h"

class QAction;
class QPainter;
class QMainWindow;
class QPaintEvent;
class QTimer;
class QWidget;

namespace blok {
class Shell;
}

namespace blok::qt {

class KeyTracker;
class StartDialog;
class MainWindow;
class ClientArea;
class X11Presenter;

// The game's main window on a Qt desktop: the window with its menu, the client area that shows
// the composed frames, the timers by id, the keyboard, the start dialog and the modal dialogs.
// Every window event becomes a call of the game's handler; after PostQuit no handler runs again.
class QtPlatform final : public Platform {
  public:
    // Starts a detached program with arguments; returns false when it could not be started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    // The handler that receives the window's events. Set before the window is created.
    void Attach(Shell& shell);
    // Creates the main window at its start position and size and delivers Shell::OnCreate.
    // Returns false (and creates nothing) when the desktop cannot give us a window.
    bool CreateMainWindow();
    // Shows the window and delivers its first paint before the event loop runs.
    void ShowAndPaint();
    // Runs the event loop until PostQuit; returns its code.
    int Exec();
    bool QuitPosted() const { return quitPosted_; }

    // How the help viewer is started; the default starts this program with --help-viewer.
    void SetLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

    // Menu commands first..last go to `handler` instead of the game.
    void SetCommandHandler(int first, int last, std::function<void(int)> handler);
    void SetPads(PadInput* pads) { pads_ = pads; }
    // The frame is shown `zoom` times enlarged (1..4), every frame pixel a square of screen
    // pixels; full screen shows it centred at the largest whole scale that fits, on black.
    void SetZoom(int zoom);
    void SetFullScreen(bool on);
    bool FullScreen() const { return fullScreen_; }
    // The zoom in effect: the one asked for, or the largest that fits the screen.
    int Zoom() const { return zoom_; }
    // The keys the game info dialog shows.
    void SetShownKeys(const KeyBindings& keys) { shownKeys_ = keys; }

    // Memory for the game's frame that the display reads without a copy, or null.
    std::shared_ptr<std::uint32_t[]> LendFramePixels(int width, int height);

    // For tests and the program's own wiring.
    QMainWindow* Window() const;
    QWidget* Client() const;
    QAction* MenuAction(int id) const;
    StartDialog* StartDialogWidget() const;
    const QTimer* Timer(int id) const;
    KeyTracker& Keys() { return *keys_; }

    // Platform
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    void InvalidateAll() override;
    void InvalidateTop(int bottom) override;
    void InvalidateRows(int top, int bottom) override;
    void Present(const Surface& surface, int width, int height) override;
    Rect ClientRect() const override;
    Rect WindowRect() const override;
    void MoveWindow(int left, int top, int width, int height) override;
    void FocusMainWindow() override;
    void PostQuit(int code) override;
    void CheckMenuItem(int id, bool checked) override;
    void EnableMenuItem(int id, bool enabled) override;
    bool PressedSinceLastRead(int key) override;
    bool Held(int key) override;
    void ShowPausedMarker(bool shown) override;
    bool CreateStartDialog() override;
    void DestroyStartDialog() override;
    void FocusStartDialog() override;
    void CheckRadioButton(int first, int last, int checked) override;
    Rect StartDialogRect() const override;
    void RunInfoDialog() override;
    void RunAboutDialog() override;
    void ShowMessage(std::string_view text, std::string_view caption) override;
    void OpenHelp(const std::string& path) override;

  private:
    friend class MainWindow;
    friend class ClientArea;

    // Calls the handler unless the loop is ending.
    template <typename Call>
    void Deliver(Call&& call);
    void BuildMenu();
    void Paint(QPaintEvent* event);
    void ClientResized(QSize oldSize, QSize newSize);
    void ResizeClient(QSize client);
    QSize LogicalClient() const;
    void PlaceStartDialog();
    void Command(int id);
    int Scale() const;
    int LargestFittingZoom() const;
    QRect FrameRect(QSize frame) const;
    void PaintFrame(const Surface& surface, QSize shown);
    void DrawPausedMarker(QPainter& painter, QRect frame);
    void StampFirstFrame();
    void StartDirectPresentation();
    bool CanPresentDirectly() const;
    void RepaintThroughToolkit(const QRegion& region);
    void PresentRows();
    void PutRows(const Surface& surface, QRect wanted, QRect target);
    void DeliverPaint();

    Shell* shell_ = nullptr;
    std::unique_ptr<KeyTracker> keys_;
    std::unique_ptr<MainWindow> window_;
    ClientArea* client_ = nullptr;
    QPointer<StartDialog> startDialog_;
    std::map<int, QAction*> menu_;
    std::map<int, bool> marked_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    Launcher launcher_;
    struct CommandRange {
        int first;
        int last;
        std::function<void(int)> handler;
    };
    std::vector<CommandRange> commandHandlers_;
    std::unique_ptr<QObject> focusWatcher_;
    std::unique_ptr<QObject> exposeWatcher_;
    PadInput* pads_ = nullptr;
    int zoom_ = 1;
    bool fullScreen_ = false;
    QSize logicalClient_;  // in full screen: the client area the game sees (before zoom)
    bool pausedMarker_ = false;
    KeyBindings shownKeys_ = DefaultKeyBindings();
    QPoint startDialogHome_;  // the start dialog's place on a frame shown at 1x
    QPoint normalPosition_;   // the window's inner corner before it went full screen

    bool inPaint_ = false;
    bool presentedInPaint_ = false;
    struct ShownFrame {
        const Surface* surface = nullptr;
        QSize size;
    };
    ShownFrame lastFrame_;  // the frame of the last presentation, until the game ends
    std::unique_ptr<X11Presenter> presenter_;  // null where rows cannot go straight to the window
    QRect rowsToPresent_;                      // named since the last presentation
    QRect presentingRows_;                     // while the game paints them
    bool toolkitPaintPending_ = false;
    bool inTimer_ = false;
    bool onePixelPerPixel_ = false;  // the screen shows a client pixel as one device pixel
    QRect rowsMaybeUnread_;          // put from the frame, perhaps not yet read by the display
    QRegion shownPastToolkit_;       // rows put past the toolkit since it last painted them
    QRegion eraseRegion_;            // uncovered by the desktop and not yet cleared
    bool framePresented_ = false;
    bool quitPosted_ = false;
    int quitCode_ = 0;
};

}  // namespace blok::qt
