// tobira-demo-disc FOLDER: writes the demo disc image into FOLDER and prints its .cue path, so
// that a machine without a CD drive can play the CD side.

#include "media/cd/demo_disc.h"

#include <exception>
#include <iostream>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: tobira-demo-disc FOLDER\n";
        return 2;
    }
    try {
        std::cout << tobira::WriteDemoDisc(argv[1]).cue.string() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "tobira-demo-disc: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
