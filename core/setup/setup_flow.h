#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "install_paths.h"

namespace blok::setup {

inline constexpr const char* kAbortText = "Installation not complete ... aborting";
inline constexpr const char* kCompleteText = "Installation Complete";
inline constexpr const char* kMessageCaption = "Message";
inline constexpr const char* kReplaceCaption = "Replace files?";
// Lists, in the target, what an install put there, so that a new install replaces those files
// without asking.
inline constexpr const char* kManifestName = ".blokfall-installed";
inline constexpr const char* kRemoveCaption = "Remove Blokfall";
// The game's own file in its folder, which only the player may decide to throw away.
inline constexpr const char* kHiscoreFile = "hiscore.dat";
inline constexpr int kFilePauseMs = 125;
inline constexpr int kCompletePauseMs = 3000;

// What the installer asks of its windows. The Qt layer implements it; tests record it.
class SetupHost {
  public:
    virtual ~SetupHost() = default;

    // The modal path dialog preset with `proposal`: the text of the edit box on "Install",
    // nothing on "Cancel".
    virtual std::optional<std::string> AskInstallPath(const std::string& proposal) = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // A modal question with "Yes" and "No": true on "Yes".
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;

    // The modeless progress dialog with its bar running from 0 to `range`.
    virtual void OpenProgress(int range) = 0;
    virtual void SetProgressText(const std::string& text) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void CloseProgress() = 0;

    // Waits while the windows stay responsive.
    virtual void Pause(int milliseconds) = 0;
    // Shows `folder` in the desktop's file manager; a failure to do so is not an error.
    virtual void OpenFolder(const std::string& folder) = 0;
};

// Where the installer takes its files from and where the desktop keeps per-user data.
struct SetupContext {
    std::filesystem::path sourceFolder;   // the distribution folder
    std::filesystem::path currentFolder;  // where a relative target path starts
    DataDirs dirs;
    std::string icon;  // the game's icon (PNG data) for the menu entries; none when empty
    // The program copied into the target as kUninstallerFile, for the uninstall command; none
    // when empty.
    std::filesystem::path uninstaller{};
};

// One thing that went wrong, with the system's reason.
struct SetupFailure {
    std::string what;    // e.g. "Could not copy \"1.mid\" to \"/x/music/1.mid\""
    std::string reason;  // e.g. "No such file or directory"
};

// The outcome of copying and creating the menu entries.
struct InstallResult {
    std::vector<SetupFailure> failures;
    bool filesInstalled = false;  // every file arrived; only then are menu entries made
    bool Complete() const { return failures.empty(); }
};

// Creates the target and its music folder (with missing parents), copies every file with
// progress, and, when all arrived, writes the game's icon and the uninstaller beside it, creates
// the menu folder, opens it and writes the two menu entries; records what it wrote in the
// target's manifest and, when nothing failed, registers the uninstall with the system.
// Files that can be copied are copied even when others fail. The songs are taken from the
// source's music folder when it has one, otherwise from beside the other files.
InstallResult Install(const SetupContext& context, const std::filesystem::path& installPath,
                      SetupHost& host);

// The files in the target that the install would replace and that no earlier install put there
// (by their paths below the target, in the order they are written; the icon last).
std::vector<std::string> FilesNotFromAnInstall(const std::filesystem::path& installPath);

// The message that tells the user what failed and why.
std::string FailureMessage(const InstallResult& result);

// The last word of a complete installation: where the game went and where its menu entries are.
std::string CompletionMessage(const std::filesystem::path& installPath, const DataDirs& dirs);

// The whole installer: asks for the target, refuses one the game cannot work from, asks once
// before replacing files of the user's, installs, reports. Returns the exit status: 0 when
// installed or cancelled by the user, 1 when something could not be installed.
int RunSetup(const SetupContext& context, SetupHost& host);

// The paths below the target that the manifest lists and that an install writes, in the order
// it writes them: what an uninstall removes. A name the installer never writes is not touched.
std::vector<std::string> InstalledFiles(const std::filesystem::path& installPath);

// Removes the installed files, the manifest and the two menu entries in `menuFolder`; then the
// music folder, the target and the menu folder when nothing else is left in them. The player's
// hiscore.dat goes only with `removeHiscore`. Returns what could not be removed.
std::vector<SetupFailure> Uninstall(const std::filesystem::path& installPath,
                                    const std::filesystem::path& menuFolder, bool removeHiscore);

// The whole uninstall of `installPath`: refuses a folder with no manifest, asks whether to
// remove Blokfall and then whether to remove hiscore.dat too (when there is one), removes, tells
// the system and reports. With `quiet` nothing is asked or shown and hiscore.dat is kept.
// Returns 0 when removed or declined, 1 when there was nothing to remove or something stayed.
int RunUninstall(const std::filesystem::path& installPath, const DataDirs& dirs, SetupHost& host,
                 bool quiet);

}  // namespace blok::setup
