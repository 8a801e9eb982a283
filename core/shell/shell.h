#pragma once

// The game program's main-window logic, free of any toolkit. The window layer calls these
// handlers for the events it receives, in the order it receives them.
// Timer, menu and dialog ids are those of ids_and_sizes.h.

namespace blok {

class Platform;

class Shell {
  public:
    virtual ~Shell() = default;

    // Before the window exists: status 1, high scores loaded, generator seeded.
    virtual void Startup() = 0;
    // The main window has been created (its client area can be measured).
    virtual void OnCreate() = 0;
    virtual void OnPaint() = 0;
    virtual void OnTimer(int id) = 0;
    virtual void OnCommand(int id) = 0;
    virtual void OnActivate() = 0;
    // The window has lost the keyboard to another window or program.
    virtual void OnDeactivate() = 0;
    // The window is being destroyed (closed by the user).
    virtual void OnDestroy() = 0;
    // After the message loop has ended: high scores saved. Returns the exit code.
    virtual int AfterLoop() = 0;

    // The start dialog's procedure: its creation and its buttons (102, 103, 105, 106, 107, 108).
    virtual void StartDialogInit() = 0;
    virtual void StartDialogCommand(int id) = 0;
};

}  // namespace blok
