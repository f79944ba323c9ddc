#include "tools/writer/hostile_listings.h"

#include <stdexcept>

#include "tools/writer/listing_writer.h"

namespace tov::writer {
namespace {

constexpr std::string_view kDate = "24/12/08 17:30:05";

void WriteHeader(ListingBuilder& builder) {
    for (const std::string_view key : kHeaderKeys) {
        builder.Header(key, "1");
    }
}

void WriteStatistics(ListingBuilder& builder) {
    for (const std::string_view key : kStatisticsKeys) {
        builder.Statistics(key, 1, 0);
    }
}

void WriteTail(ListingBuilder& builder) {
    WriteHeader(builder);
    WriteStatistics(builder);
}

void Nested(const HostileScale& scale, ListingBuilder& builder) {
    builder.OpenFolder("C:");
    builder.File("top.txt", "1 KB", kDate, "bien");
    for (std::uint32_t level = 1; level <= scale.nested_depth; ++level) {
        builder.OpenFolder(std::to_string(level));
        if (level == scale.deep_level) {
            builder.File("deep.txt", "2 KB", kDate, "mal");
        }
    }
    builder.File("bottom.txt", "3 KB", kDate, "bien");
    for (std::uint32_t level = 0; level <= scale.nested_depth; ++level) {
        builder.CloseFolder();
    }
    WriteTail(builder);
}

void LongLine(const HostileScale& scale, ListingBuilder& builder) {
    builder.OpenFolder("C:");
    builder.File("before.txt", "1 KB", kDate, "bien");
    std::string line(scale.long_line_bytes, 'a');
    const std::string_view fields = "|5 MB|01/02/03 04:05:06|mal";
    if (line.size() > fields.size()) {
        line.replace(line.size() - fields.size(), fields.size(), fields);
    }
    builder.FileLine(line);
    builder.File("after.txt", "1 KB", kDate, "mal");
    builder.CloseFolder();
    WriteTail(builder);
}

void NoFinalLineFeed(ListingBuilder& builder) {
    builder.OpenFolder("C:");
    builder.File("a.txt", "1 KB", kDate, "bien");
    builder.CloseFolder();
    WriteHeader(builder);
    builder.Line("Archivos analizados|1|0");
    builder.Raw("Imagen|1|0");  // the digest line follows on the same line
}

void OnlyMarkers(char marker, const HostileScale& scale, ListingBuilder& builder) {
    const std::string line = marker == '>' ? ">|x" : "<";
    for (std::uint32_t i = 0; i < scale.marker_lines; ++i) {
        builder.Line(line);
    }
}

void Bars(ListingBuilder& builder) {
    builder.OpenFolder("C:");
    std::string line = "bars";
    const std::string_view fields[] = {
        "1,5 KB", std::string_view(kDate), "bien", "mal", "", "x", "|", "", "b", "c"};
    builder.FileLine(line);  // no "|" at all
    for (const std::string_view field : fields) {
        line += '|';
        line += field;
        builder.FileLine(line);
    }
    builder.FileLine("|");
    builder.FileLine("||");
    builder.FileLine("|||");
    builder.FileLine("||||bien");
    builder.FileLine("nothing|||mal");
    builder.FileLine("bien");
    builder.OpenFolder("C:\\Sub");
    builder.FileLine("x|");
    builder.FileLine("y||");
    builder.FileLine("z|||bien");
    builder.CloseFolder();
    builder.FileLine("after-sub|1|01/01/70 00:00:00|mal");
    builder.CloseFolder();
    WriteTail(builder);
}

void OddNames(ListingBuilder& builder) {
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    const std::string long_name(255, '\xE9');
    builder.OpenFolder("C:\\" + high);
    builder.File("a\\b\\c.txt", "1 KB", kDate, "bien");
    builder.File(high, "2 KB", kDate, "mal");
    builder.File(long_name, "3 KB", kDate, "bien");
    builder.File(std::string(254, 'n') + ".", "4 KB", kDate, "mal");
    builder.File("\\", "5 KB", kDate, "bien");
    builder.File("\"quoted;\"", "6 KB", kDate, "bien");
    builder.File(" ", "", "", "mal");
    builder.OpenFolder("trailing\\");  // an empty own name
    builder.File("in-empty.txt", "1", kDate, "bien");
    builder.CloseFolder();
    builder.OpenFolder(long_name);
    builder.File(long_name, "1", kDate, "mal");
    builder.CloseFolder();
    builder.FolderLine(">");  // no path at all, not even the byte after ">"
    builder.CloseFolder();
    builder.OpenFolder("\\\\\\");
    builder.CloseFolder();
    builder.OpenFolder(high.substr(0x7F));  // 0xFF alone
    builder.File(std::string(1, '\xFF'), "1", kDate, "bien");
    builder.CloseFolder();
    builder.CloseFolder();
    WriteTail(builder);
}

void MarkerHeader(ListingBuilder& builder) {
    builder.OpenFolder("C:");
    builder.File("a.txt", "1 KB", kDate, "bien");
    builder.CloseFolder();
    builder.Line(">N\xBA de trabajo|1");
    builder.Line("<Raz\xF3n social|x");
    builder.Header(kHeaderKeys[2], "firm");
    builder.Line(">|C:\\Header");  // opens a folder after the root
    builder.Line("header-file.txt|1 KB|24/12/08 17:30:05|bien");
    builder.Line("Archivos analizados|1|0");
    builder.Line("<Imagen|1|0");
    builder.Line(">Archivo de sonido|1|0");
    builder.Line("<");
    builder.Line("<");
}

void EmptyLine(std::string_view section, ListingBuilder& builder) {
    if (section == "first") {
        builder.Line("");
    }
    builder.OpenFolder("C:");
    builder.File("a.txt", "1 KB", kDate, "bien");
    if (section == "tree") {
        builder.Line("");
        builder.File("hidden.txt", "1 KB", kDate, "bien");
    }
    builder.CloseFolder();
    WriteHeader(builder);
    if (section == "header") {
        builder.Line("");
        builder.Header(kHeaderKeys[0], "hidden");
    }
    WriteStatistics(builder);
    if (section == "statistics") {
        builder.Line("");
        builder.Statistics(kStatisticsKeys[6], 9, 9);
    }
}

void NulBytes(ListingBuilder& builder) {
    builder.OpenFolder(std::string("C:\\a\0b", 6));
    builder.File(std::string("x\0y.txt", 7), "1 KB", kDate, "bien");
    builder.File("z.txt", "1 KB", kDate, "bien");
    builder.CloseFolder();
    builder.Header(kHeaderKeys[0], std::string("1\0"
                                               "2",
                                               3));
    WriteTail(builder);
}

void SeveralRoots(ListingBuilder& builder) {
    for (const char* root : {"C:", "D:", "E:"}) {
        builder.OpenFolder(root);
        builder.File("f.txt", "1 KB", kDate, "bien");
        builder.OpenFolder(std::string(root) + "\\Sub");
        builder.File("g.txt", "2 KB", kDate, "mal");
        builder.CloseFolder();
        builder.CloseFolder();
    }
    builder.CloseFolder();
    builder.OpenFolder("F:");
    builder.File("after-stray-close.txt", "1", kDate, "bien");
    builder.CloseFolder();
    WriteTail(builder);
}

void Wide(const HostileScale& scale, ListingBuilder& builder) {
    builder.OpenFolder("C:");
    static const char* const kStatuses[] = {"bien", "mal", ""};
    for (std::uint32_t i = 0; i < scale.wide_files; ++i) {
        const std::string name = "file" + std::to_string((i * 7919u) % scale.wide_files) + ".txt";
        const std::string size = std::to_string(i % 1000) + (i % 2 ? " KB" : ",5 MB");
        const std::string date =
            FormatDate(1 + i % 28, 1 + i % 12, 1970 + i % 100, i % 24, i % 60, (i / 60) % 60);
        builder.File(name, size, date, kStatuses[i % 3]);
    }
    builder.CloseFolder();
    WriteTail(builder);
}

void LongSummary(const HostileScale& scale, ListingBuilder& builder) {
    builder.OpenFolder("C:");
    builder.File("a.txt", "1 KB", kDate, "bien");
    builder.CloseFolder();
    for (std::uint32_t i = 0; i < scale.summary_lines; ++i) {
        builder.Header(kHeaderKeys[i % kHeaderKeys.size()], std::to_string(i));
    }
    for (std::uint32_t i = 0; i < scale.summary_lines; ++i) {
        builder.Statistics(kStatisticsKeys[i % kStatisticsKeys.size()], i, 1);
    }
}

}  // namespace

const std::vector<std::string_view>& HostileListingNames() {
    static const std::vector<std::string_view> names = {"nested",
                                                        "long-line",
                                                        "no-final-lf",
                                                        "only-open",
                                                        "only-close",
                                                        "bars",
                                                        "odd-names",
                                                        "marker-header",
                                                        "empty-line-tree",
                                                        "empty-line-header",
                                                        "empty-line-statistics",
                                                        "empty-first-line",
                                                        "nul-bytes",
                                                        "several-roots",
                                                        "wide-folder",
                                                        "long-summary"};
    return names;
}

std::string MakeHostileListing(std::string_view name, const HostileScale& scale) {
    ListingBuilder builder;
    if (name == "nested") {
        Nested(scale, builder);
    } else if (name == "long-line") {
        LongLine(scale, builder);
    } else if (name == "no-final-lf") {
        NoFinalLineFeed(builder);
    } else if (name == "only-open") {
        OnlyMarkers('>', scale, builder);
    } else if (name == "only-close") {
        OnlyMarkers('<', scale, builder);
    } else if (name == "bars") {
        Bars(builder);
    } else if (name == "odd-names") {
        OddNames(builder);
    } else if (name == "marker-header") {
        MarkerHeader(builder);
    } else if (name == "empty-line-tree") {
        EmptyLine("tree", builder);
    } else if (name == "empty-line-header") {
        EmptyLine("header", builder);
    } else if (name == "empty-line-statistics") {
        EmptyLine("statistics", builder);
    } else if (name == "empty-first-line") {
        EmptyLine("first", builder);
    } else if (name == "nul-bytes") {
        NulBytes(builder);
    } else if (name == "several-roots") {
        SeveralRoots(builder);
    } else if (name == "wide-folder") {
        Wide(scale, builder);
    } else if (name == "long-summary") {
        LongSummary(scale, builder);
    } else {
        throw std::invalid_argument("no hostile listing named " + std::string(name));
    }
    return builder.Finish();
}

std::string NestedFolderPath(std::uint32_t level) {
    std::string path = "C:\\";
    for (std::uint32_t i = 1; i <= level; ++i) {
        path += std::to_string(i);
        path += '\\';
    }
    return path;
}

std::string ListingOfLength(std::size_t length) {
    const std::string empty_digest_line = DigestLine("");
    if (length >= empty_digest_line.size()) {
        return AppendDigestLine(std::string(length - empty_digest_line.size(), 'x'));
    }
    return empty_digest_line.substr(empty_digest_line.size() - length);
}

}  // namespace tov::writer
