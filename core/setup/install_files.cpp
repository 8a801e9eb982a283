#include "install_files.h"

namespace blok::setup {

const std::array<InstallFile, 23>& InstallFiles() {
    static constexpr std::array<InstallFile, 23> files{{
        {kGameProgram, "", 926},
        {kHelpFile, "", 937},
        {"Liesmich.txt", "", 938},
        {"Readme.txt", "", 939},
        {"1.mid", kMusicFolder, 963},
        {"2.mid", kMusicFolder, 967},
        {"3.mid", kMusicFolder, 998},
        {"4.mid", kMusicFolder, 1135},
        {"5.mid", kMusicFolder, 1164},
        {"6.mid", kMusicFolder, 1179},
        {"7.mid", kMusicFolder, 1191},
        {"8.mid", kMusicFolder, 1207},
        {"9.mid", kMusicFolder, 1237},
        {"10.mid", kMusicFolder, 1248},
        {"11.mid", kMusicFolder, 1271},
        {"12.mid", kMusicFolder, 1275},
        {"13.mid", kMusicFolder, 1282},
        {"14.mid", kMusicFolder, 1323},
        {"15.mid", kMusicFolder, 1327},
        {"16.mid", kMusicFolder, 1338},
        {"17.mid", kMusicFolder, 1350},
        {"18.mid", kMusicFolder, 1365},
        {"19.mid", kMusicFolder, kProgressRange},
    }};
    return files;
}

}  // namespace blok::setup
