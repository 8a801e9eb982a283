#include "setup_flow.h"

#include <fstream>
#include <set>

#include "desktop_entry.h"
#include "file_copy.h"
#include "install_files.h"
#include "system_setup.h"

namespace blok::setup {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) {
    return "\"" + Utf8FromPath(path) + "\"";
}

void Record(InstallResult& result, std::string what, const std::error_code& error) {
    result.failures.push_back({std::move(what), error.message()});
}

bool CreateFolder(const fs::path& folder, InstallResult& result) {
    std::error_code error;
    fs::create_directories(folder, error);
    // create_directories is quiet when a plain file stands in the way of the last level.
    if (!error && !fs::is_directory(folder, error) && !error) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (error) Record(result, "Could not create the folder " + Quoted(folder), error);
    return !error;
}

std::string PathInTarget(const InstallFile& file) {
    return (fs::path(file.subfolder) / file.name).string();
}

// What the target's manifest lists; nothing when there is none.
std::set<std::string> InstalledBefore(const fs::path& installPath) {
    std::set<std::string> names;
    std::ifstream manifest(installPath / kManifestName);
    for (std::string line; std::getline(manifest, line);) {
        if (!line.empty() && line.front() != '#') names.insert(line);
    }
    return names;
}

// The paths below the target that an install writes, in the order it writes them: the copied
// files, then the game's icon.
std::vector<std::string> WrittenFiles() {
    std::vector<std::string> names;
    for (const InstallFile& file : InstallFiles()) names.push_back(PathInTarget(file));
    names.emplace_back(kIconFile);
    if (!kUninstallerFile.empty()) names.emplace_back(kUninstallerFile);
    return names;
}

void WriteManifest(const fs::path& installPath, const std::set<std::string>& installed,
                   InstallResult& result) {
    std::string text = "# Installed by the Blokfall installer; it replaces these files again.\n";
    for (const std::string& name : WrittenFiles()) {
        if (installed.count(name) != 0) text += name + "\n";
    }
    const fs::path manifest = installPath / kManifestName;
    if (auto error = InstallText(text, manifest)) {
        Record(result, "Could not write the list of installed files " + Quoted(manifest), error);
    }
}

// The archive keeps the songs in their own folder, so that the game also runs where it was
// unpacked; the distribution folder keeps them beside the other files.
fs::path SourceOf(const SetupContext& context, const InstallFile& file) {
    const fs::path inFolder = context.sourceFolder / file.subfolder / file.name;
    std::error_code error;
    if (!file.subfolder.empty() && fs::exists(inFolder, error)) return inFolder;
    return context.sourceFolder / file.name;
}

void CopyFiles(const SetupContext& context, const fs::path& installPath, bool targetReady,
               bool musicReady, SetupHost& host, std::set<std::string>& installed,
               InstallResult& result) {
    for (const InstallFile& file : InstallFiles()) {
        host.SetProgressText("Installing: " + std::string(file.name));
        const fs::path source = SourceOf(context, file);
        const fs::path destination = installPath / file.subfolder / file.name;
        const bool folderReady = file.subfolder.empty() ? targetReady : musicReady;
        // A file whose folder is missing is not attempted: the folder's failure says why.
        if (folderReady) {
            if (auto error = InstallCopy(source, destination)) {
                Record(result, "Could not copy " + Quoted(source) + " to " + Quoted(destination),
                       error);
            } else {
                installed.insert(PathInTarget(file));
            }
        }
        host.Pause(kFilePauseMs);
        host.SetProgressPosition(file.position);
    }
}

// Asks once before files of the user's are replaced; true when there are none or on "Yes".
bool MayReplace(const fs::path& installPath, SetupHost& host) {
    const std::vector<std::string> files = FilesNotFromAnInstall(installPath);
    if (files.empty()) return true;
    std::string question = "These files in " + Quoted(installPath) +
                           " were not installed by Blokfall and would be replaced:\n\n";
    for (const std::string& file : files) question += file + "\n";
    question += "\nReplace them?";
    return host.AskYesNo(question, kReplaceCaption);
}

void CreateMenuEntries(const SetupContext& context, const std::string& installPath, SetupHost& host,
                       std::set<std::string>& installed, InstallResult& result) {
    const fs::path menuFolder = PathFromUtf8(MenuFolder(context.dirs));
    if (!CreateFolder(menuFolder, result)) return;
    // Opened before the entries exist, so the file manager shows them arriving.
    host.OpenFolder(Utf8FromPath(menuFolder));
    if (!context.icon.empty()) {
        const fs::path icon = PathFromUtf8(installPath) / kIconFile;
        if (auto error = InstallText(context.icon, icon)) {
            Record(result, "Could not write the icon " + Quoted(icon), error);
        } else {
            installed.emplace(kIconFile);
        }
    }
    for (const MenuEntry& entry : {GameEntry(installPath), HelpEntry(installPath)}) {
        const fs::path file = MenuEntryFile(menuFolder, entry.name);
        if (auto error = WriteMenuEntry(entry, file)) {
            Record(result, "Could not create the menu entry " + Quoted(file), error);
        }
    }
}

void CopyUninstaller(const SetupContext& context, const fs::path& installPath,
                     std::set<std::string>& installed, InstallResult& result) {
    if (context.uninstaller.empty() || kUninstallerFile.empty()) return;
    const fs::path destination = installPath / kUninstallerFile;
    if (auto error = InstallCopy(context.uninstaller, destination)) {
        Record(result, "Could not copy the uninstaller to " + Quoted(destination), error);
    } else {
        installed.emplace(kUninstallerFile);
    }
}

// Removes `path` when it is there; a failure is written down.
void RemoveFile(const fs::path& path, std::vector<SetupFailure>& failures) {
    std::error_code error;
    fs::remove(path, error);
    if (error) failures.push_back({"Could not remove " + Quoted(path), error.message()});
}

// Removes `folder` when nothing is left in it.
void RemoveIfEmpty(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error) && fs::is_empty(folder, error) && !error) {
        fs::remove(folder, error);
    }
}

bool OnlyHiscoreLeft(const fs::path& installPath) {
    std::error_code error;
    std::vector<fs::path> left;
    for (fs::directory_iterator entry(installPath, error), end; !error && entry != end;
         entry.increment(error)) {
        left.push_back(entry->path().filename());
    }
    return !error && left.size() == 1 && left.front() == kHiscoreFile;
}

std::string UninstallMessage(const fs::path& installPath,
                             const std::vector<SetupFailure>& failures) {
    std::error_code error;
    if (failures.empty()) {
        std::string text = "Blokfall has been removed.";
        if (OnlyHiscoreLeft(installPath)) {
            text += "\n\nThe high-score table " + Quoted(installPath / kHiscoreFile) + " was kept.";
        } else if (fs::exists(installPath, error)) {
            text += "\n\nThe folder " + Quoted(installPath) +
                    " was kept: it holds files that Blokfall did not install.";
        }
        return text;
    }
    std::string text = "Blokfall could not be removed completely.\n\n";
    for (const SetupFailure& failure : failures) {
        text += failure.what + ": " + failure.reason + "\n";
    }
    return text;
}

}  // namespace

InstallResult Install(const SetupContext& context, const fs::path& installPath, SetupHost& host) {
    InstallResult result;
    const bool targetReady = CreateFolder(installPath, result);
    const bool musicReady = targetReady && CreateFolder(installPath / kMusicFolder, result);
    std::set<std::string> installed = InstalledBefore(installPath);
    CopyFiles(context, installPath, targetReady, musicReady, host, installed, result);
    result.filesInstalled = result.Complete();
    // Menu entries for a game that did not fully arrive would start a broken installation.
    if (result.filesInstalled) {
        CopyUninstaller(context, installPath, installed, result);
        CreateMenuEntries(context, Utf8FromPath(installPath), host, installed, result);
    }
    if (targetReady) WriteManifest(installPath, installed, result);
    if (result.Complete()) {
        if (auto error = RegisterUninstall(installPath)) {
            Record(result, "Could not register the uninstall of Blokfall", error);
        }
    }
    return result;
}

std::vector<std::string> FilesNotFromAnInstall(const fs::path& installPath) {
    const std::set<std::string> ours = InstalledBefore(installPath);
    std::vector<std::string> found;
    for (const std::string& name : WrittenFiles()) {
        std::error_code error;
        if (ours.count(name) == 0 && fs::exists(fs::symlink_status(installPath / name, error))) {
            found.push_back(name);
        }
    }
    return found;
}

std::string FailureMessage(const InstallResult& result) {
    constexpr std::size_t kShown = 8;
    std::string text = "Installation failed.\n\n";
    for (std::size_t i = 0; i < result.failures.size() && i < kShown; ++i) {
        text += result.failures[i].what + ": " + result.failures[i].reason + "\n";
    }
    if (result.failures.size() > kShown) {
        text += "... and " + std::to_string(result.failures.size() - kShown) + " more.\n";
    }
    text += result.filesInstalled
                ? "\nThe files are installed, but the menu entries are not complete."
                : "\nBlokfall is not completely installed; no menu entries were created.";
    return text;
}

std::string CompletionMessage(const fs::path& installPath, const DataDirs& dirs) {
    return std::string(kCompleteText) + "\n\nBlokfall is installed in " + Quoted(installPath) +
           ". Start it from " + kMenuPlace + "; the two menu entries are kept in " +
           Quoted(PathFromUtf8(MenuFolder(dirs))) + ".";
}

int RunSetup(const SetupContext& context, SetupHost& host) {
    const std::optional<std::string> typed = host.AskInstallPath(ProposedInstallPath(context.dirs));
    const std::optional<std::string> chosen = typed ? ChosenInstallPath(*typed) : std::nullopt;
    if (!chosen) {
        host.ShowMessage(kAbortText, kMessageCaption);
        return 0;
    }
    const std::string installText =
        AbsoluteInstallPath(*chosen, context.dirs, Utf8FromPath(context.currentFolder));
    const fs::path installPath = PathFromUtf8(installText);
    if (const std::optional<std::string> reason = UnusableInstallPathReason(installText)) {
        host.ShowMessage("Blokfall cannot be installed in that folder: " + *reason + ".",
                         kMessageCaption);
        return 1;
    }
    if (!MayReplace(installPath, host)) {
        host.ShowMessage(kAbortText, kMessageCaption);
        return 0;
    }

    host.OpenProgress(kProgressRange);
    const InstallResult result = Install(context, installPath, host);
    if (!result.Complete()) {
        host.SetProgressText("Installation failed");
        host.CloseProgress();
        host.ShowMessage(FailureMessage(result), kMessageCaption);
        return 1;
    }
    host.SetProgressText(kCompleteText);
    host.Pause(kCompletePauseMs);
    host.CloseProgress();
    host.ShowMessage(CompletionMessage(installPath, context.dirs), kMessageCaption);
    return 0;
}

std::vector<std::string> InstalledFiles(const fs::path& installPath) {
    const std::set<std::string> listed = InstalledBefore(installPath);
    std::vector<std::string> files;
    for (const std::string& name : WrittenFiles()) {
        if (listed.count(name) != 0) files.push_back(name);
    }
    return files;
}

std::vector<SetupFailure> Uninstall(const fs::path& installPath, const fs::path& menuFolder,
                                    bool removeHiscore) {
    std::vector<SetupFailure> failures;
    for (const std::string& name : InstalledFiles(installPath)) {
        RemoveFile(installPath / name, failures);
    }
    if (removeHiscore) RemoveFile(installPath / kHiscoreFile, failures);
    // The manifest goes last: should anything stay, a second uninstall still knows the rest.
    if (failures.empty()) RemoveFile(installPath / kManifestName, failures);
    for (const MenuEntry& entry :
         {GameEntry(Utf8FromPath(installPath)), HelpEntry(Utf8FromPath(installPath))}) {
        RemoveFile(MenuEntryFile(menuFolder, entry.name), failures);
    }
    RemoveIfEmpty(installPath / kMusicFolder);
    RemoveIfEmpty(installPath);
    RemoveIfEmpty(menuFolder);
    return failures;
}

int RunUninstall(const fs::path& installPath, const DataDirs& dirs, SetupHost& host, bool quiet) {
    std::error_code error;
    if (!fs::exists(installPath / kManifestName, error)) {
        if (!quiet) {
            host.ShowMessage("Blokfall is not installed in " + Quoted(installPath) + ".",
                             kRemoveCaption);
        }
        return 1;
    }
    const std::string question =
        "Remove Blokfall from " + Quoted(installPath) + " and its two entries from the menu?";
    if (!quiet && !host.AskYesNo(question, kRemoveCaption)) return 0;
    const bool hasHiscore = fs::exists(installPath / kHiscoreFile, error);
    const bool removeHiscore =
        hasHiscore && !quiet &&
        host.AskYesNo("Remove the high-score table " + Quoted(installPath / kHiscoreFile) +
                          " too? With \"No\" it stays for a later installation.",
                      kRemoveCaption);
    const std::vector<SetupFailure> failures =
        Uninstall(installPath, PathFromUtf8(MenuFolder(dirs)), removeHiscore);
    if (failures.empty()) UnregisterUninstall(installPath);
    if (!quiet) host.ShowMessage(UninstallMessage(installPath, failures), kRemoveCaption);
    return failures.empty() ? 0 : 1;
}

}  // namespace blok::setup
