#include "search/search_walk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "listing/byte_scan.h"
#include "listing/cp1252.h"
#include "listing/file_line.h"
#include "search/escape_typed_pattern.h"

namespace tov {
namespace {

constexpr std::uint32_t kNoPrefix = std::numeric_limits<std::uint32_t>::max();

// One open folder level: its own name, and its PathLevel in the results once a row on it or
// below it needed one. Only levels that hold results, and the levels above them, get one.
struct Level {
    std::string_view name;
    std::uint32_t path_level = kNoPrefix;
};

class Walk {
  public:
    Walk(CheckStatusFilters filters, NameTest test, RowSet& results)
        : filters_(filters), test_(test), results_(results) {
        levels_.push_back({{}, 0});  // the top level: the empty path
        for (int byte = 0; byte < 256; ++byte) {
            lower_[byte] = LowerCp1252(static_cast<unsigned char>(byte));
        }
    }

    void Run(const ListingDocument& document) {
        LineOffset offset = 0;
        const bool test_folders = !filters_.only_good && !filters_.only_bad;
        while (!document.AtEnd(offset)) {
            const std::string_view line = document.Line(offset);
            offset += static_cast<LineOffset>(line.size()) + 1;
            if (line[0] == '<') {
                if (levels_.size() == 1) {
                    return;
                }
                levels_.pop_back();
            } else if (line[0] == '>') {
                const std::string_view own_name = FolderOwnName(line);
                if (test_folders && Matches(own_name)) {
                    AddRow(own_name, FileRow::kFolder, StatusKind::Empty);
                }
                levels_.push_back({own_name, kNoPrefix});
            } else if (levels_.size() > 1) {
                TestFileLine(line);
            }
        }
    }

  private:
    // Without a filter only the name is needed until it matches, so the line is split whole
    // only for the rows it yields.
    void TestFileLine(std::string_view line) {
        if (filters_.only_good || filters_.only_bad) {
            const FileLineFields fields = SplitFileLine(line);
            if (PassesFilters(fields.status) && Matches(fields.name)) {
                AddRow(fields.name, FileRow::kFile, StatusKindOf(fields.status));
            }
            return;
        }
        const std::size_t bar = FindByte(line, '|');
        const std::string_view name = bar == std::string_view::npos ? line : line.substr(0, bar);
        if (Matches(name)) {
            AddRow(name, FileRow::kFile, StatusKindOf(SplitFileLine(line).status));
        }
    }

    bool PassesFilters(std::string_view status) const {
        if (!filters_.only_good && !filters_.only_bad) {
            return true;
        }
        const CheckStatus check = ReadCheckStatus(status);
        return (filters_.only_good && check == CheckStatus::Good) ||
               (filters_.only_bad && check == CheckStatus::Bad);
    }

    // Names are lower-cased into one reused buffer in the same pass that copies them: no
    // allocation per name once the buffer has grown to the longest name.
    bool Matches(std::string_view name) {
        if (test_.passes_everything()) {
            return true;
        }
        if (lowered_.size() < name.size()) {
            lowered_.resize(name.size());
        }
        char* out = lowered_.data();
        for (std::size_t i = 0; i < name.size(); ++i) {
            out[i] = static_cast<char>(lower_[static_cast<unsigned char>(name[i])]);
        }
        return test_(std::string_view(out, name.size()));
    }

    // The rows grow with the results found: a search that finds little takes little memory.
    void AddRow(std::string_view name, std::uint32_t kind, StatusKind status) {
        results_.Add(results_.RowOf(name, CurrentPrefix(), kind), status);
    }

    // Each open level gets its PathLevel at most once, so this is constant time on average.
    std::uint32_t CurrentPrefix() {
        std::size_t known = levels_.size() - 1;
        while (levels_[known].path_level == kNoPrefix) {
            --known;  // stops at the top level, which always has one
        }
        for (std::size_t i = known + 1; i < levels_.size(); ++i) {
            levels_[i].path_level = results_.AddLevel(levels_[i - 1].path_level, levels_[i].name);
        }
        return levels_.back().path_level;
    }

    CheckStatusFilters filters_;
    NameTest test_;
    RowSet& results_;
    std::vector<Level> levels_;
    std::string lowered_;
    std::array<unsigned char, 256> lower_{};
};

}  // namespace

std::string SearchExpression(std::string_view pattern, bool is_class) {
    std::string expression = is_class ? std::string(pattern) : EscapeTypedPattern(pattern);
    LowerCp1252InPlace(expression);
    return expression;
}

void SearchFolderLevels(const ListingDocument& document, CheckStatusFilters filters, NameTest test,
                        RowSet& results) {
    results.text = std::string_view(document.data(), document.size());
    Walk(filters, test, results).Run(document);
}

SearchOutcome SearchListing(const ListingDocument& document, std::string_view pattern,
                            bool is_class, CheckStatusFilters filters) {
    SearchOutcome outcome;
    PatternCompileResult compiled = PatternMatcher::Compile(SearchExpression(pattern, is_class));
    if (!compiled) {
        outcome.refused = compiled.error();
        return outcome;
    }
    const PatternMatcher matcher = std::move(compiled).matcher();
    auto test = [&matcher](std::string_view name) { return matcher.Test(name); };
    SearchFolderLevels(document, filters,
                       matcher.MatchesEverything() ? NameTest::Everything() : NameTest(test),
                       outcome.rows);
    return outcome;
}

}  // namespace tov
