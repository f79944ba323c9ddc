// Writes every hostile listing into a folder, scaled down to a few kilobytes each (seeds for the
// fuzz targets, or listings to open by hand), or at full scale with --full (a million nested
// folders, a 100 MB line):
//   hostile_listings [--full] FOLDER
#include "tools/writer/hostile_listings.h"

#include <exception>
#include <iostream>
#include <string>

#include "tools/writer/listing_writer.h"

int main(int argc, char** argv) {
    const bool full = argc == 3 && std::string(argv[1]) == "--full";
    if (argc != 2 && !full) {
        std::cerr << "usage: hostile_listings [--full] FOLDER\n";
        return 2;
    }
    try {
        const std::string folder = argv[argc - 1];
        tov::writer::HostileScale scale;
        if (!full) {
            scale.nested_depth = 200;
            scale.deep_level = 100;
            scale.long_line_bytes = 8000;
            scale.wide_files = 300;
            scale.marker_lines = 300;
            scale.summary_lines = 100;
        }
        for (const std::string_view name : tov::writer::HostileListingNames()) {
            const std::string path = folder + "/" + std::string(name) + ".tov";
            tov::writer::WriteFileBytes(path, tov::writer::MakeHostileListing(name, scale));
            std::cout << path << "\n";
        }
        for (const std::size_t length : {0, 37, 38}) {
            const std::string path = folder + "/length-" + std::to_string(length) + ".tov";
            tov::writer::WriteFileBytes(path, tov::writer::ListingOfLength(length));
            std::cout << path << "\n";
        }
    } catch (const std::exception& error) {
        std::cerr << "hostile_listings: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
