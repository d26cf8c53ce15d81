// save_fixtures FOLDER: writes the save-file fixtures (commented hex) into
// FOLDER, normally tests/fixtures/saves. The output is the same on every run.

#include <cstdio>
#include <fstream>

#include "save_fixtures_core.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_fixtures FOLDER\n");
        return 2;
    }
    for (const SaveFixtures::Fixture& fixture : SaveFixtures::allFixtures()) {
        const std::string path = std::string(argv[1]) + "/" + fixture.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << fixture.content.text();
        if (!out.flush()) {
            std::fprintf(stderr, "save_fixtures: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
