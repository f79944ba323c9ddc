// Arbitrary bytes as a loaded listing through the work-summary walk, with labels that hold
// conversions printf would read arguments for: the walk never reads outside the buffer and a
// label never reads the listing's text as a format (labels come from string tables and hold no
// NUL).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "listing/listing_document.h"
#include "listing/work_summary.h"

namespace {

tov::WorkSummaryLabels MakeLabels() {
    static const char* const kForms[] = {"%s", "Job %s", "%%s %s %d", "%s%s%n", "%", "", "%1$s %s"};
    tov::WorkSummaryLabels labels;
    std::size_t form = 0;
    for (std::string& label : labels.header) {
        label = kForms[form++ % std::size(kForms)];
    }
    for (std::string& label : labels.statistics) {
        label = kForms[form++ % std::size(kForms)];
    }
    labels.left_out = "... %s more";
    return labels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tov::WorkSummaryLabels labels = MakeLabels();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tov::ListingDocument document = tov::ListingDocument::FromCopy(bytes);
    const tov::WorkSummary summary = tov::ReadWorkSummary(document, labels);

    std::size_t lines = 0;
    for (const char byte : bytes) {
        lines += byte == '\n' || byte == '\0';
    }
    // Every line comes from one line of the listing, and each label adds a bounded amount;
    // past the bounds one line says how many more there were.
    if (summary.work_lines.size() + summary.check_rows.size() > lines + 1 ||
        summary.work_lines.size() > tov::kMaxWorkLines + 1 ||
        summary.check_rows.size() > tov::kMaxCheckRows + 1) {
        std::abort();
    }

    // A label and a rest from the input on their own: "%s" takes the rest, nothing else does.
    const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
    const std::string_view label = bytes.substr(0, split);
    const std::string_view rest = bytes.substr(split);
    const std::string formatted = tov::FormatLabel(label, rest);
    if (label.find_first_of(std::string_view("%\0", 2)) == std::string_view::npos &&
        formatted != label) {
        std::abort();
    }
    (void)tov::SplitCheckRow(bytes);
    return 0;
}
