#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--version") == 0)) {
        std::cout << "Slidemill " << SLIDEMILL_VERSION << "\n";
        return 0;
    }
    std::cerr << "slidemill: the command line is not built yet; only --version works in this build.\n";
    return 2;
}
