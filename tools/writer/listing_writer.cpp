#include "tools/writer/listing_writer.h"

#include "listing/file_line.h"

#include <cstdio>
#include <fstream>
#include <ostream>
#include <stdexcept>

namespace tov::writer {
namespace {

constexpr std::size_t kChunk = 1 << 20;

// Unicode code points of the Windows-1252 bytes 0x80-0x9F; 0 where the code page has none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Cp1252ByteOf(std::uint32_t code_point) {
    if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
        return static_cast<int>(code_point);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == code_point) {
            return 0x80 + i;
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, std::uint32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

}  // namespace

const std::array<std::string_view, 13> kHeaderKeys = {"N\xBA de trabajo",
                                                      "Fecha de recepci\xF3n",
                                                      "Raz\xF3n social",
                                                      "Direcci\xF3n",
                                                      "Poblaci\xF3n",
                                                      "Provincia",
                                                      "Pais",
                                                      "Marca",
                                                      "Modelo",
                                                      "Fecha de an\xE1lisis",
                                                      "Tama\xF1o",
                                                      "Total carpetas",
                                                      "Total archivos"};

const std::array<std::string_view, 8> kStatisticsKeys = {"Archivos analizados",
                                                         "Documento de Microsoft Excel",
                                                         "Documento de Microsoft PowerPoint",
                                                         "Documento de Microsoft Word",
                                                         "Documento comprimido ZIP",
                                                         "AutoCAD",
                                                         "Imagen",
                                                         "Archivo de sonido"};

std::string DigestLine(std::string_view body) {
    MD5 md5;
    // Bodies beyond 4 GiB are not listings; digest them all the same, in 32-bit pieces.
    while (body.size() > 0xFFFFFFFFu) {
        md5.update(body.data(), 0xFFFFFFC0u);
        body.remove_prefix(0xFFFFFFC0u);
    }
    md5.update(body.data(), static_cast<std::uint32_t>(body.size()));
    md5.finalize();
    return "Hash|" + md5.hex_digest() + "\n";
}

std::string AppendDigestLine(std::string body) {
    const std::string line = DigestLine(body);
    body += line;
    return body;
}

std::string Cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t extra = lead >= 0xC2 && lead <= 0xDF   ? 1
                                  : lead >= 0xE0 && lead <= 0xEF ? 2
                                  : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                                 : 0;
        if (extra == 0 || utf8.size() - i <= extra) {
            out += static_cast<char>(lead);  // ASCII, or not UTF-8: the byte as it is
            ++i;
            continue;
        }
        std::uint32_t code_point = lead & (0x3F >> extra);
        bool valid = true;
        for (std::size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code_point = code_point << 6 | (next & 0x3F);
        }
        if (!valid) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const int byte = Cp1252ByteOf(code_point);
        if (byte < 0) {
            throw std::invalid_argument("character U+" + std::to_string(code_point) +
                                        " has no Windows-1252 byte");
        }
        out += static_cast<char>(byte);
        i += extra + 1;
    }
    return out;
}

std::string Utf8FromCp1252(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char c : cp1252) {
        const unsigned char byte = static_cast<unsigned char>(c);
        std::uint32_t code_point = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            code_point = kHighControls[byte - 0x80] != 0 ? kHighControls[byte - 0x80] : byte;
        }
        AppendUtf8(out, code_point);
    }
    return out;
}

std::string FormatSize(std::uint64_t bytes) {
    static const char* const kUnits[] = {"KB", "MB", "GB"};
    if (bytes < 1024) {
        return std::to_string(bytes);
    }
    // Tenths of the unit, rounded; one decimal below 10 units, none above.
    std::uint64_t scale = 1024;
    int unit = 0;
    while (unit < 2 && bytes >= scale * 1024) {
        scale *= 1024;
        ++unit;
    }
    const std::uint64_t tenths = (bytes * 10 + scale / 2) / scale;
    if (tenths < 100) {
        return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " " + kUnits[unit];
    }
    return std::to_string((tenths + 5) / 10) + " " + kUnits[unit];
}

std::string FormatDate(int day, int month, int year, int hour, int minute, int second) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", day % 100, month % 100,
                  year % 100, hour % 100, minute % 100, second % 100);
    return text;
}

ListingBuilder::ListingBuilder() = default;

ListingBuilder::ListingBuilder(std::ostream& out) : out_(&out) {
    buffer_.reserve(kChunk + 4096);
}

void ListingBuilder::Append(std::string_view bytes) {
    if (finished_) {
        throw std::logic_error("ListingBuilder: written after Finish()");
    }
    buffer_.append(bytes);
    size_ += bytes.size();
    if (out_ != nullptr && buffer_.size() >= kChunk) {
        FlushChunk();
    }
}

void ListingBuilder::FlushChunk() {
    md5_.update(buffer_.data(), static_cast<std::uint32_t>(buffer_.size()));
    out_->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (!*out_) {
        throw std::runtime_error("ListingBuilder: the listing could not be written");
    }
    buffer_.clear();
}

ListingBuilder& ListingBuilder::OpenFolder(std::string_view path) {
    ++folders_;
    Append(">|");
    Append(path);
    Append("\n");
    return *this;
}

ListingBuilder& ListingBuilder::CloseFolder() {
    Append("<\n");
    return *this;
}

ListingBuilder& ListingBuilder::File(std::string_view name, std::string_view size,
                                     std::string_view date, std::string_view status) {
    ++files_;
    const CheckStatus check = ReadCheckStatus(status);
    good_ += check == CheckStatus::Good;
    bad_ += check == CheckStatus::Bad;
    Append(name);
    Append("|");
    Append(size);
    Append("|");
    Append(date);
    Append("|");
    Append(status);
    Append("\n");
    return *this;
}

ListingBuilder& ListingBuilder::FolderLine(std::string_view line) {
    ++folders_;
    return Line(line);
}

ListingBuilder& ListingBuilder::FileLine(std::string_view line) {
    ++files_;
    const CheckStatus check = ReadCheckStatus(SplitFileLine(line).status);
    good_ += check == CheckStatus::Good;
    bad_ += check == CheckStatus::Bad;
    return Line(line);
}

ListingBuilder& ListingBuilder::Header(std::string_view key, std::string_view value) {
    Append(key);
    Append("|");
    Append(value);
    Append("\n");
    return *this;
}

ListingBuilder& ListingBuilder::Statistics(std::string_view type, std::uint64_t good,
                                           std::uint64_t bad) {
    Append(type);
    Append("|");
    Append(std::to_string(good));
    Append("|");
    Append(std::to_string(bad));
    Append("\n");
    return *this;
}

ListingBuilder& ListingBuilder::Line(std::string_view text) {
    Append(text);
    Append("\n");
    return *this;
}

ListingBuilder& ListingBuilder::Raw(std::string_view bytes) {
    Append(bytes);
    return *this;
}

std::string ListingBuilder::Finish() {
    if (finished_) {
        throw std::logic_error("ListingBuilder: Finish() called twice");
    }
    if (out_ == nullptr) {
        const std::string line = DigestLine(buffer_);
        Append(line);
        digest_ = line.substr(5, 32);
        finished_ = true;
        return std::move(buffer_);
    }
    if (!buffer_.empty()) {
        FlushChunk();
    }
    md5_.finalize();
    digest_ = md5_.hex_digest();
    const std::string line = "Hash|" + digest_ + "\n";
    out_->write(line.data(), static_cast<std::streamsize>(line.size()));
    size_ += line.size();
    out_->flush();
    finished_ = true;
    if (!*out_) {
        throw std::runtime_error("ListingBuilder: the listing could not be written");
    }
    return {};
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace tov::writer
