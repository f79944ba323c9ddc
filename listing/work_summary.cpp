#include "listing/work_summary.h"

#include <cstdint>
#include <cstring>

namespace tov {

// Windows-1252 bytes: 0xBA is "º", 0xF3 "ó", 0xE1 "á", 0xF1 "ñ".
const std::array<std::string_view, kHeaderKeyCount> kHeaderKeys = {
    "N\xBA de trabajo",
    "Fecha de recepci\xF3"
    "n",
    "Raz\xF3"
    "n social",
    "Direcci\xF3"
    "n",
    "Poblaci\xF3"
    "n",
    "Provincia",
    "Pais",
    "Marca",
    "Modelo",
    "Fecha de an\xE1"
    "lisis",
    "Tama\xF1"
    "o",
    "Total carpetas",
    "Total archivos",
};

const std::array<std::string_view, kStatisticsKeyCount> kStatisticsKeys = {
    "Archivos analizados",
    "Documento de Microsoft Excel",
    "Documento de Microsoft PowerPoint",
    "Documento de Microsoft Word",
    "Documento comprimido ZIP",
    "AutoCAD",
    "Imagen",
    "Archivo de sonido",
};

namespace {

constexpr std::string_view kHeaderEnd = "Archivos analizados";
constexpr std::string_view kStatisticsEnd = "Hash";
constexpr char kSeparator = '|';
constexpr std::string_view kShownSeparator = ":\t";

// Keys are compared as bytes, case-sensitively, as prefixes of the line.
bool BeginsWith(std::string_view text, std::string_view key) {
    return text.size() >= key.size() && std::memcmp(text.data(), key.data(), key.size()) == 0;
}

std::string ShowSeparators(std::string_view line) {
    std::string shown;
    shown.reserve(line.size() + 8);
    std::size_t start = 0;
    for (std::size_t bar = line.find(kSeparator); bar != std::string_view::npos;
         bar = line.find(kSeparator, start)) {
        shown.append(line.substr(start, bar - start));
        shown.append(kShownSeparator);
        start = bar + 1;
    }
    shown.append(line.substr(start));
    return shown;
}

// Steps over the folder tree: the first line always, then on until the folder-open and
// folder-close lines balance again.
LineOffset SkipFolderTree(const ListingDocument& document) {
    LineOffset offset = 0;
    std::int64_t depth = 0;  // a 4 GiB listing can hold more than 2^31 folder lines
    do {
        if (document.AtEnd(offset)) {
            break;
        }
        const char first = document.FirstByte(offset);
        if (first == '>') {
            ++depth;
        } else if (first == '<') {
            --depth;
        }
        offset = document.NextLine(offset);
    } while (depth != 0);
    return offset;
}

}  // namespace

void FormatLabelInto(std::string_view label, std::string_view rest, std::string& text) {
    label = label.substr(0, label.find('\0'));  // printf ends the format there
    text.clear();
    bool inserted = false;
    std::size_t start = 0;
    for (std::size_t percent = label.find('%'); percent != std::string_view::npos;
         percent = label.find('%', start)) {
        text.append(label.substr(start, percent - start));
        const char conversion = percent + 1 < label.size() ? label[percent + 1] : '\0';
        if (conversion == '%') {
            text += '%';
            start = percent + 2;
        } else if (conversion == 's') {
            // Only one argument exists; a further "%s" has nothing to show.
            if (!inserted) {
                text.append(rest);
                inserted = true;
            }
            start = percent + 2;
        } else {
            text += '%';  // not a conversion these labels use: kept as written
            start = percent + 1;
        }
    }
    text.append(label.substr(start));
}

std::string FormatLabel(std::string_view label, std::string_view rest) {
    std::string text;
    FormatLabelInto(label, rest, text);
    return text;
}

void TranslateLineInto(std::string_view line, const std::string_view* keys,
                       const std::string* labels, std::size_t count, std::string& text,
                       std::string& scratch) {
    text.assign(line);
    for (std::size_t row = 0; row < count; ++row) {
        const std::string_view key = keys[row];
        if (BeginsWith(text, key)) {
            FormatLabelInto(labels[row], std::string_view(text).substr(key.size()), scratch);
            text.swap(scratch);
        }
    }
}

std::string TranslateLine(std::string_view line, const std::string_view* keys,
                          const std::string* labels, std::size_t count) {
    std::string text;
    std::string scratch;
    TranslateLineInto(line, keys, labels, count, text, scratch);
    return text;
}

CheckRow SplitCheckRow(std::string_view line) {
    CheckRow row;
    const std::size_t first = line.find(kSeparator);
    row.type = std::string(line.substr(0, first));
    if (first == std::string_view::npos) {
        return row;
    }
    const std::size_t second = line.find(kSeparator, first + 1);
    row.good = std::string(line.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
    if (second != std::string_view::npos) {
        row.bad = std::string(line.substr(second + 1));
    }
    return row;
}

WorkSummary ReadWorkSummary(const ListingDocument& document, const WorkSummaryLabels& labels) {
    WorkSummary summary;
    LineOffset offset = SkipFolderTree(document);
    // Reused for every line, so that a line costs one allocation: the text that is kept.
    std::string translated;
    std::string scratch;

    std::uint64_t left_out = 0;  // a 4 GiB listing can hold more than 2^32 lines
    for (; !document.AtEnd(offset); offset = document.NextLine(offset)) {
        const std::string_view line = document.Line(offset);
        if (BeginsWith(line, kHeaderEnd)) {
            break;  // this line is the first statistics row
        }
        if (summary.work_lines.size() == kMaxWorkLines) {
            ++left_out;
            continue;
        }
        TranslateLineInto(line, kHeaderKeys.data(), labels.header.data(), kHeaderKeyCount,
                          translated, scratch);
        summary.work_lines.push_back(ShowSeparators(translated));
    }
    if (left_out != 0) {
        summary.work_lines.push_back(FormatLabel(labels.left_out, std::to_string(left_out)));
    }

    left_out = 0;
    for (; !document.AtEnd(offset); offset = document.NextLine(offset)) {
        const std::string_view line = document.Line(offset);
        if (BeginsWith(line, kStatisticsEnd)) {
            break;
        }
        if (summary.check_rows.size() == kMaxCheckRows) {
            ++left_out;
            continue;
        }
        TranslateLineInto(line, kStatisticsKeys.data(), labels.statistics.data(),
                          kStatisticsKeyCount, translated, scratch);
        summary.check_rows.push_back(SplitCheckRow(translated));
    }
    if (left_out != 0) {
        summary.check_rows.push_back(
            {FormatLabel(labels.left_out, std::to_string(left_out)), {}, {}});
    }
    return summary;
}

}  // namespace tov
