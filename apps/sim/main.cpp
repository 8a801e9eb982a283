#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "sim.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // The dumps are compared byte for byte with Linux's: no \r before each \n.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    if (argc > 2) {
        std::cerr << "usage: blokfall-sim [SCRIPT]\n";
        return 2;
    }
    if (argc == 2) {
        // A folder opens like a file but reads as empty: it would pass as an empty script.
        std::error_code ignored;
        if (std::filesystem::is_directory(argv[1], ignored)) {
            std::cerr << "blokfall-sim: " << argv[1] << " is a folder, not a script\n";
            return 2;
        }
        std::ifstream file(argv[1]);
        if (!file) {
            std::cerr << "blokfall-sim: cannot open " << argv[1] << "\n";
            return 2;
        }
        return blok::sim::RunScript(file, std::cout, std::cerr);
    }
    return blok::sim::RunScript(std::cin, std::cout, std::cerr);
}
