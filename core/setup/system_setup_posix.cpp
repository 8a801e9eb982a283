// Menu entries as .desktop files; nothing is registered for removal on Linux.
#include "system_setup.h"

#include "file_copy.h"

namespace blok::setup {

std::filesystem::path MenuEntryFile(const std::filesystem::path& menuFolder,
                                    std::string_view name) {
    return menuFolder / (std::string(name) + ".desktop");
}

std::error_code WriteMenuEntry(const MenuEntry& entry, const std::filesystem::path& file) {
    return InstallText(DesktopEntryText(entry), file);
}

std::error_code RegisterUninstall(const std::filesystem::path&) {
    return {};
}

void UnregisterUninstall(const std::filesystem::path&) {}

}  // namespace blok::setup
