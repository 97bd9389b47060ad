// Writes the sample ship into the folder given (by default the samples/ folder beside this program's
// sources): make_sample [folder]
#include <exception>
#include <iostream>

#include "SampleShip.h"

int main(int argc, char** argv) {
    try {
        const std::filesystem::path folder = argc > 1 ? argv[1] : TARV_SAMPLES_FOLDER;
        tarv::samples::writeSampleShip(folder);
        std::cout << "Sample ship written to " << folder.string() << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
