// Writes the .mdt files the reader tests check, through the scope's own encoder and file
// writer, so that the readers are tested against what the scope really writes.
//
//   mdt_sample_writer FOLDER   ->  FOLDER/sample.mdt, FOLDER/empty.mdt

#include <cstdio>
#include <string>
#include <utility>

#include "acquisition/MatlabExport.h"
#include "platform/WholeFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    // readers_test.py holds the same values.
    const ondrix::ExportColumns sample{{{0, 1, -1}, {32767, -32768, 2}, {-2, 3, 256}, {5, -6, 4660}}};
    for (const auto& [name, columns] : {std::pair{"sample.mdt", sample}, std::pair{"empty.mdt", ondrix::ExportColumns{}}}) {
        const std::string error = ondrix::WriteFileAtomically(folder + "/" + name, ondrix::EncodeMatlabExport(columns));
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
