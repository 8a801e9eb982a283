#include <fstream>
#include <iostream>

#include "sim.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: blokfall-sim [SCRIPT]\n";
        return 2;
    }
    if (argc == 2) {
        std::ifstream file(argv[1]);
        if (!file) {
            std::cerr << "blokfall-sim: cannot open " << argv[1] << "\n";
            return 2;
        }
        return blok::sim::RunScript(file, std::cout, std::cerr);
    }
    return blok::sim::RunScript(std::cin, std::cout, std::cerr);
}
