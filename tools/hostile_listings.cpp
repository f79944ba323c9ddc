// Writes every hostile listing, scaled down to a few kilobytes each, into a folder (seeds for the
// fuzz targets, or listings to open by hand):
//   hostile_listings FOLDER
#include "tools/writer/hostile_listings.h"

#include <exception>
#include <iostream>
#include <string>

#include "tools/writer/listing_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: hostile_listings FOLDER\n";
        return 2;
    }
    try {
        const std::string folder = argv[1];
        tov::writer::HostileScale scale;
        scale.nested_depth = 200;
        scale.deep_level = 100;
        scale.long_line_bytes = 8000;
        scale.wide_files = 300;
        scale.marker_lines = 300;
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
