#include "tools/writer/listing_description.h"

#include "listing/file_line.h"
#include "tools/writer/file_types.h"
#include "tools/writer/listing_writer.h"

#include <vector>

namespace tov::writer {
namespace {

enum class Section { Tree, Header, Statistics };

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

struct TreeCounts {
    std::uint64_t folders = 0;
    std::uint64_t files = 0;
    std::uint64_t good = 0;
    std::uint64_t bad = 0;
};

// Replaces "{xNN}" by its byte and, where counts are given, the count placeholders.
std::string Expand(std::string_view text, const TreeCounts* counts) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '{') {
            const std::size_t close = text.find('}', i);
            if (close != std::string_view::npos) {
                const std::string_view name = text.substr(i + 1, close - i - 1);
                if (name.size() == 3 && name[0] == 'x' && HexValue(name[1]) >= 0 &&
                    HexValue(name[2]) >= 0) {
                    out += static_cast<char>(HexValue(name[1]) * 16 + HexValue(name[2]));
                    i = close + 1;
                    continue;
                }
                if (counts != nullptr) {
                    const std::uint64_t* value = name == "folders" ? &counts->folders
                                                 : name == "files" ? &counts->files
                                                 : name == "good"  ? &counts->good
                                                 : name == "bad"   ? &counts->bad
                                                                   : nullptr;
                    if (value != nullptr) {
                        out += std::to_string(*value);
                        i = close + 1;
                        continue;
                    }
                    if (name == "unchecked") {
                        out += std::to_string(counts->files - counts->good - counts->bad);
                        i = close + 1;
                        continue;
                    }
                }
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

DescriptionError::DescriptionError(int line, const std::string& what)
    : std::runtime_error("description line " + std::to_string(line) + ": " + what), line_(line) {}

void WriteDescribedListing(std::string_view description, ListingBuilder& builder) {
    Section section = Section::Tree;
    std::vector<std::size_t> open_indents;  // indentation of each open folder, outermost first
    TreeCounts counts;
    CheckStatistics statistics;
    bool tree_closed = false;

    auto close_tree = [&] {
        while (!open_indents.empty()) {
            builder.CloseFolder();
            open_indents.pop_back();
        }
        tree_closed = true;
    };

    if (description.substr(0, 3) == "\xEF\xBB\xBF") {
        description.remove_prefix(3);  // a byte-order mark some editors put first
    }
    int line_number = 0;
    while (!description.empty()) {
        ++line_number;
        const std::size_t end = description.find('\n');
        std::string_view raw = description.substr(0, end);
        description.remove_prefix(end == std::string_view::npos ? description.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);  // a description saved with CR LF; write "{x0D}" for a real CR
        }
        const std::size_t indent = raw.find_first_not_of(' ');
        if (indent == std::string_view::npos) {
            continue;
        }
        std::string_view text = raw.substr(indent);
        if (text[0] == '\t') {
            throw DescriptionError(line_number, "indent with blanks, not tabs");
        }
        if (text[0] == '#') {
            continue;
        }
        if (indent == 0 && text.front() == '[') {
            if (!tree_closed) {
                close_tree();
            }
            if (text == "[header]") {
                section = Section::Header;
            } else if (text == "[statistics]") {
                section = Section::Statistics;
            } else if (text == "[statistics auto]") {
                section = Section::Statistics;
                statistics.Write(builder);
            } else {
                throw DescriptionError(line_number, "unknown section " + std::string(text));
            }
            continue;
        }

        std::string line;
        try {
            line = Cp1252FromUtf8(text);
        } catch (const std::invalid_argument& error) {
            throw DescriptionError(line_number, error.what());
        }
        if (section != Section::Tree) {
            if (line[0] == '>' || line[0] == '<') {
                throw DescriptionError(line_number,
                                       "header and statistics lines never begin "
                                       "with '>' or '<'");
            }
            builder.Line(Expand(line, &counts));
            continue;
        }
        if (tree_closed) {
            throw DescriptionError(line_number, "tree lines after the header");
        }
        if (line[0] == '<') {
            throw DescriptionError(line_number, "folders close by indentation; no '<' lines");
        }
        while (!open_indents.empty() && open_indents.back() >= indent) {
            builder.CloseFolder();
            open_indents.pop_back();
        }
        if (line[0] == '>') {
            if (line.size() >= 2 && line[1] == ' ') {
                line[1] = '|';
            }
            builder.FolderLine(Expand(line, nullptr));
            open_indents.push_back(indent);
            ++counts.folders;
            continue;
        }
        const std::string file_line = Expand(line, nullptr);
        const FileLineFields fields = SplitFileLine(file_line);
        const CheckStatus check = ReadCheckStatus(fields.status);
        ++counts.files;
        counts.good += check == CheckStatus::Good;
        counts.bad += check == CheckStatus::Bad;
        statistics.Add(fields.name, fields.status);
        builder.FileLine(file_line);
    }
    if (!tree_closed) {
        close_tree();
    }
}

std::string ListingFromDescription(std::string_view description) {
    ListingBuilder builder;
    WriteDescribedListing(description, builder);
    return builder.Finish();
}

}  // namespace tov::writer
