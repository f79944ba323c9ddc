// Writes listings with a correct digest line:
//   listing_writer describe DESCRIPTION OUT     from a description (see listing_description.h)
//   listing_writer synthetic --files N --folders M --depth D [--seed S] [--bare-names]
//                  [--root NAME] OUT            N files in M folders, streamed to OUT
//   listing_writer sample OUT                   the sample job of examples/sample.tov
#include "tools/writer/listing_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: listing_writer describe DESCRIPTION OUT\n"
                 "       listing_writer synthetic --files N --folders M --depth D [--seed S]\n"
                 "                      [--bare-names] [--root NAME] OUT\n"
                 "       listing_writer sample OUT\n";
    return 2;
}

std::uint64_t ParseCount(const char* text, const char* option) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || text[0] == '-') {
        throw std::invalid_argument(std::string(option) + " needs a number, not " + text);
    }
    return value;
}

void Report(const tov::writer::ListingBuilder& builder, const std::string& path) {
    std::cout << path << ": " << builder.size() << " bytes, " << builder.folders() << " folders, "
              << builder.files() << " files (" << builder.good() << " good, " << builder.bad()
              << " bad), digest " << builder.digest() << "\n";
}

int Describe(const std::string& description_path, const std::string& out_path) {
    std::ifstream in(description_path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + description_path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    tov::writer::ListingBuilder builder;
    tov::writer::WriteDescribedListing(text.str(), builder);
    tov::writer::WriteFileBytes(out_path, builder.Finish());
    Report(builder, out_path);
    return 0;
}

int Synthetic(int argc, char** argv) {
    tov::writer::SyntheticOptions options;
    std::string out_path;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool has_value = i + 1 < argc;
        if (argument == "--files" && has_value) {
            options.files = ParseCount(argv[++i], "--files");
        } else if (argument == "--folders" && has_value) {
            options.folders = ParseCount(argv[++i], "--folders");
        } else if (argument == "--depth" && has_value) {
            options.depth = ParseCount(argv[++i], "--depth");
        } else if (argument == "--seed" && has_value) {
            options.seed = ParseCount(argv[++i], "--seed");
        } else if (argument == "--root" && has_value) {
            options.root = argv[++i];
        } else if (argument == "--bare-names") {
            options.full_paths = false;
        } else if (out_path.empty() && !argument.empty() && argument[0] != '-') {
            out_path = argument;
        } else {
            return Usage();
        }
    }
    if (out_path.empty()) {
        return Usage();
    }
    std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + out_path);
    }
    tov::writer::ListingBuilder builder(out);
    tov::writer::WriteSyntheticListing(options, builder);
    builder.Finish();
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + out_path);
    }
    Report(builder, out_path);
    return 0;
}

int Sample(const std::string& out_path) {
    tov::writer::ListingBuilder builder;
    tov::writer::WriteDescribedListing(tov::writer::SampleDescription(), builder);
    tov::writer::WriteFileBytes(out_path, builder.Finish());
    Report(builder, out_path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "describe" && argc == 4) {
            return Describe(argv[2], argv[3]);
        }
        if (command == "synthetic") {
            return Synthetic(argc, argv);
        }
        if (command == "sample" && argc == 3) {
            return Sample(argv[2]);
        }
        return Usage();
    } catch (const std::exception& error) {
        std::cerr << "listing_writer: " << error.what() << "\n";
        return 1;
    }
}
