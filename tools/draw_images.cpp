// Draws the program's images (toolbar buttons, check marks, banner, icons) and writes them as
// BMP and ICO files for the resource script. Run it from the repository root, or pass the output
// folder; the generated files are committed so the build itself needs only the resource compiler.
//
//   draw_images [output-folder]      (default: res/images)
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied), 0..1
};

Rgba Colour(int r, int g, int b, float a = 1.0f) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba Mix(Rgba x, Rgba y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
            x.a + (y.a - x.a) * t};
}

// ---------------------------------------------------------------------------------------------
// Canvas with anti-aliased shape filling by supersampling

class Canvas {
  public:
    Canvas(int width, int height, Rgba fill = {})
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    const Rgba& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

    // Composites a colour over the pixel with the given coverage.
    void Blend(int x, int y, Rgba c, float coverage) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0) {
            return;
        }
        Rgba& d = at(x, y);
        const float sa = c.a * std::min(coverage, 1.0f);
        const float oa = sa + d.a * (1 - sa);
        if (oa <= 0) {
            d = {};
            return;
        }
        d.r = (c.r * sa + d.r * d.a * (1 - sa)) / oa;
        d.g = (c.g * sa + d.g * d.a * (1 - sa)) / oa;
        d.b = (c.b * sa + d.b * d.a * (1 - sa)) / oa;
        d.a = oa;
    }

    // Fills the points (in pixel units, y down) where inside() holds, sampled 4 x 4 per pixel;
    // colour_at gives the colour at a point (gradients).
    void Fill(const std::function<bool(float, float)>& inside,
              const std::function<Rgba(float, float)>& colour_at) {
        constexpr int kSamples = 4;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const float px = x + (sx + 0.5f) / kSamples;
                        const float py = y + (sy + 0.5f) / kSamples;
                        hits += inside(px, py) ? 1 : 0;
                    }
                }
                if (hits > 0) {
                    Blend(x, y, colour_at(x + 0.5f, y + 0.5f),
                          static_cast<float>(hits) / (kSamples * kSamples));
                }
            }
        }
    }

    void Fill(const std::function<bool(float, float)>& inside, Rgba colour) {
        Fill(inside, [colour](float, float) { return colour; });
    }

  private:
    int width_;
    int height_;
    std::vector<Rgba> pixels_;
};

// Shapes as inside-tests, in pixel coordinates.
auto Disc(float cx, float cy, float radius) {
    return [=](float x, float y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

auto Ring(float cx, float cy, float outer, float inner) {
    return [=](float x, float y) {
        const float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d <= outer * outer && d >= inner * inner;
    };
}

auto RoundRect(float left, float top, float right, float bottom, float radius) {
    return [=](float x, float y) {
        if (x < left || x > right || y < top || y > bottom) {
            return false;
        }
        const float cx = std::clamp(x, left + radius, right - radius);
        const float cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

// A stroke of the given width along a polyline, with round joins and caps.
auto Stroke(std::vector<std::array<float, 2>> points, float width) {
    return [points = std::move(points), half = width / 2](float x, float y) {
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const float ax = points[i][0], ay = points[i][1];
            const float bx = points[i + 1][0], by = points[i + 1][1];
            const float dx = bx - ax, dy = by - ay;
            const float length2 = dx * dx + dy * dy;
            float t = length2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / length2 : 0;
            t = std::clamp(t, 0.0f, 1.0f);
            const float ex = ax + t * dx - x, ey = ay + t * dy - y;
            if (ex * ex + ey * ey <= half * half) {
                return true;
            }
        }
        return false;
    };
}

// ---------------------------------------------------------------------------------------------
// Palettes and pixel art

// The sixteen colours of the standard 4-bit palette, in the order the system uses them.
const std::array<Rgb, 16> kVga = {{{0, 0, 0},
                                   {128, 0, 0},
                                   {0, 128, 0},
                                   {128, 128, 0},
                                   {0, 0, 128},
                                   {128, 0, 128},
                                   {0, 128, 128},
                                   {192, 192, 192},
                                   {128, 128, 128},
                                   {255, 0, 0},
                                   {0, 255, 0},
                                   {255, 255, 0},
                                   {0, 0, 255},
                                   {255, 0, 255},
                                   {0, 255, 255},
                                   {255, 255, 255}}};

// Letters of the pixel art, one per entry of kVga.
constexpr char kArtLetters[] = "krgonptsdRGYBMCw";

// 256 colours: the 16 above, a 6 x 6 x 6 cube and a grey ramp.
std::vector<Rgb> Palette256() {
    std::vector<Rgb> palette(kVga.begin(), kVga.end());
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back({static_cast<std::uint8_t>(r * 51),
                                   static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
            }
        }
    }
    for (int i = 0; palette.size() < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(8 + i * 10);
        palette.push_back({v, v, v});
    }
    return palette;
}

std::uint8_t Nearest(const std::vector<Rgb>& palette, Rgb c) {
    int best = 0;
    long best_distance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        // Weighted as the eye sees: green counts most.
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

Rgb ToRgb(const Rgba& c) {
    auto channel = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

// Pixel art: rows of letters from kArtLetters, '.' transparent. Layers are drawn in order, each
// at its offset; the result holds palette indexes, with `background` where nothing was drawn.
struct ArtLayer {
    int x = 0, y = 0;
    std::vector<std::string> rows;
};

std::vector<std::uint8_t> DrawArt(int width, int height, std::uint8_t background,
                                  const std::vector<ArtLayer>& layers) {
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width * height), background);
    for (const ArtLayer& layer : layers) {
        for (std::size_t row = 0; row < layer.rows.size(); ++row) {
            const std::string& text = layer.rows[row];
            for (std::size_t column = 0; column < text.size(); ++column) {
                if (text[column] == '.') {
                    continue;
                }
                const char* letter = std::char_traits<char>::find(kArtLetters, 16, text[column]);
                if (letter == nullptr) {
                    throw std::runtime_error("unknown art letter " + std::string(1, text[column]));
                }
                const int x = layer.x + static_cast<int>(column);
                const int y = layer.y + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= width || y >= height) {
                    throw std::runtime_error("art outside its image: " + text);
                }
                indexes[static_cast<std::size_t>(y * width + x)] =
                    static_cast<std::uint8_t>(letter - kArtLetters);
            }
        }
    }
    return indexes;
}

// ---------------------------------------------------------------------------------------------
// A 5 x 7 pixel font for the banner and the logo strip

struct Glyph {
    char letter;
    std::array<const char*, 7> rows;
};

const Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "#   #", "##  #", "# # #", "#  ##", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "# # #", " # # "}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'-', {"     ", "     ", "     ", " ### ", "     ", "     ", "     "}},
    {' ', {"     ", "     ", "     ", "     ", "     ", "     ", "     "}},
};

const Glyph& FindGlyph(char letter) {
    for (const Glyph& glyph : kFont) {
        if (glyph.letter == letter) {
            return glyph;
        }
    }
    throw std::runtime_error("no glyph for " + std::string(1, letter));
}

// Writes text with its top-left corner at (x, y), each font pixel `scale` pixels square,
// one font pixel between letters. Returns the x after the text.
int DrawText(Canvas& canvas, int x, int y, const std::string& text, int scale, Rgba colour) {
    for (char letter : text) {
        const Glyph& glyph = FindGlyph(letter);
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if (glyph.rows[static_cast<std::size_t>(row)][column] != '#') {
                    continue;
                }
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        canvas.Blend(x + column * scale + dx, y + row * scale + dy, colour, 1);
                    }
                }
            }
        }
        x += 6 * scale;
    }
    return x - scale;
}

int TextWidth(const std::string& text, int scale) {
    return static_cast<int>(text.size()) * 6 * scale - scale;
}

// ---------------------------------------------------------------------------------------------
// File writers

class Bytes {
  public:
    void U8(unsigned v) { data_.push_back(static_cast<char>(v & 0xFF)); }
    void U16(unsigned v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Append(const Bytes& other) {
        data_.insert(data_.end(), other.data_.begin(), other.data_.end());
    }
    std::size_t size() const { return data_.size(); }
    void Save(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary);
        out.write(data_.data(), static_cast<std::streamsize>(data_.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
        std::printf("wrote %s (%zu bytes)\n", path.string().c_str(), data_.size());
    }

  private:
    std::vector<char> data_;
};

std::size_t RowBytes(int width, int bits) {
    return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

void InfoHeader(Bytes& out, int width, int height, int bits, std::uint32_t image_size,
                int colours) {
    out.U32(40);
    out.U32(static_cast<std::uint32_t>(width));
    out.U32(static_cast<std::uint32_t>(height));
    out.U16(1);
    out.U16(static_cast<unsigned>(bits));
    out.U32(0);  // BI_RGB
    out.U32(image_size);
    out.U32(2835);  // 72 dpi
    out.U32(2835);
    out.U32(static_cast<std::uint32_t>(colours));
    out.U32(0);
}

void PaletteEntries(Bytes& out, const std::vector<Rgb>& palette) {
    for (const Rgb& c : palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
}

// Pixel rows, bottom-up, of an indexed image (4 or 8 bits) or of colours (24 or 32 bits).
Bytes IndexedBits(int width, int height, int bits, const std::vector<std::uint8_t>& indexes) {
    Bytes out;
    const std::size_t row_bytes = RowBytes(width, bits);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<unsigned> row(row_bytes, 0);
        for (int x = 0; x < width; ++x) {
            const unsigned index = indexes[static_cast<std::size_t>(y * width + x)];
            if (bits == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                row[static_cast<std::size_t>(x / 2)] |= (x % 2 == 0) ? index << 4 : index;
            }
        }
        for (unsigned b : row) {
            out.U8(b);
        }
    }
    return out;
}

Bytes ColourBits(const Canvas& canvas, int bits) {
    Bytes out;
    const std::size_t row_bytes = RowBytes(canvas.width(), bits);
    for (int y = canvas.height() - 1; y >= 0; --y) {
        std::size_t written = 0;
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgba& p = canvas.at(x, y);
            const Rgb c = ToRgb(p);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
            written += 3;
            if (bits == 32) {
                out.U8(static_cast<unsigned>(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255)));
                ++written;
            }
        }
        for (; written < row_bytes; ++written) {
            out.U8(0);
        }
    }
    return out;
}

void SaveBmp(const std::filesystem::path& path, int width, int height, int bits,
             const std::vector<Rgb>& palette, const Bytes& pixel_bits) {
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size() * 4);
    Bytes out;
    out.U8('B');
    out.U8('M');
    out.U32(offset + static_cast<std::uint32_t>(pixel_bits.size()));
    out.U32(0);
    out.U32(offset);
    InfoHeader(out, width, height, bits, static_cast<std::uint32_t>(pixel_bits.size()),
               static_cast<int>(palette.size()));
    PaletteEntries(out, palette);
    out.Append(pixel_bits);
    out.Save(path);
}

// One image of an icon: colour depth 4, 8 or 32; pixels with alpha below one half are
// transparent in the mask (and, at 32 bits, keep their own alpha).
Bytes IconImage(const Canvas& canvas, int bits) {
    const int w = canvas.width(), h = canvas.height();
    std::vector<Rgb> palette;
    if (bits == 4) {
        palette.assign(kVga.begin(), kVga.end());
    } else if (bits == 8) {
        palette = Palette256();
    }
    Bytes colour;
    if (bits == 32) {
        colour = ColourBits(canvas, 32);
    } else {
        std::vector<std::uint8_t> indexes(static_cast<std::size_t>(w * h), 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgba& p = canvas.at(x, y);
                indexes[static_cast<std::size_t>(y * w + x)] =
                    p.a < 0.5f ? 0 : Nearest(palette, ToRgb(p));
            }
        }
        colour = IndexedBits(w, h, bits, indexes);
    }
    Bytes mask;
    const std::size_t mask_row = RowBytes(w, 1);
    for (int y = h - 1; y >= 0; --y) {
        std::vector<unsigned> row(mask_row, 0);
        for (int x = 0; x < w; ++x) {
            if (canvas.at(x, y).a < 0.5f) {
                row[static_cast<std::size_t>(x / 8)] |= 0x80u >> (x % 8);
            }
        }
        for (unsigned b : row) {
            mask.U8(b);
        }
    }
    Bytes out;
    InfoHeader(out, w, h * 2, bits, static_cast<std::uint32_t>(colour.size() + mask.size()), 0);
    PaletteEntries(out, palette);
    out.Append(colour);
    out.Append(mask);
    return out;
}

struct IconEntry {
    int width, height, bits;
    Bytes image;
};

void SaveIco(const std::filesystem::path& path, const std::vector<IconEntry>& entries) {
    Bytes out;
    out.U16(0);
    out.U16(1);
    out.U16(static_cast<unsigned>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const IconEntry& e : entries) {
        out.U8(e.width >= 256 ? 0 : static_cast<unsigned>(e.width));
        out.U8(e.height >= 256 ? 0 : static_cast<unsigned>(e.height));
        out.U8(e.bits == 4 ? 16 : 0);
        out.U8(0);
        out.U16(1);
        out.U16(static_cast<unsigned>(e.bits));
        out.U32(static_cast<std::uint32_t>(e.image.size()));
        out.U32(offset);
        offset += static_cast<std::uint32_t>(e.image.size());
    }
    for (const IconEntry& e : entries) {
        out.Append(e.image);
    }
    out.Save(path);
}

// ---------------------------------------------------------------------------------------------
// The pictures

// Green tick and red cross, shared by the toolbar's filter buttons and the file list's marks.
const std::vector<std::string> kTick = {
    "................", "................", ".............gg.", "............gGGg",
    "...........gGGGg", "..........gGGGg.", ".gg......gGGGg..", "gGGg....gGGGg...",
    "gGGGg..gGGGg....", ".gGGGggGGGg.....", "..gGGGGGGg......", "...gGGGGg.......",
    "....gGGg........", ".....gg.........", "................", "................"};
const std::vector<std::string> kCross = {
    "................", "................", "..rr.......rr...", ".rRRr.....rRRr..",
    ".rRRRr...rRRRr..", "..rRRRr.rRRRr...", "...rRRRrRRRr....", "....rRRRRRr.....",
    ".....rRRRr......", "....rRRRRRr.....", "...rRRRrRRRr....", "..rRRRr.rRRRr...",
    ".rRRRr...rRRRr..", ".rRRr.....rRRr..", "..rr.......rr...", "................"};

// The eight buttons of the main toolbar, in button order.
std::vector<std::vector<ArtLayer>> ToolbarArt() {
    std::vector<std::vector<ArtLayer>> art;
    // Up: an open folder with a green arrow rising out of it.
    art.push_back({{0,
                    4,
                    {".kkkk..........", "kYwYYk.........", "kwYYYYkkkkkkk..", "kYoooooooooooko",
                     "kYokkkkkkkkkkkkk", "kYkYYYYYYYYYYYk.", "kokYYYYYYYYYYk..", "kkYYYYYYYYYYk...",
                     "kkkkkkkkkkkkk..."}},
                   {8,
                    0,
                    {"...k...", "..kgk..", ".kgGgk.", "kgGGGgk", "kkkGkkk", "..kGk..", "..kGk..",
                     "..kGk.."}}});
    // Show search results: a window with binoculars in front of it.
    art.push_back(
        {{0,
          0,
          {"kkkkkkkkkkk", "knnnnnnnnnk", "kkkkkkkkkkk", "kwwwwwwwwwk", "kwddddddwwk", "kwwwwwwwwwk",
           "kwddddwwwwk", "kwwwwwwwwwk", "kwdddddwwwk", "kwwwwwwwwwk", "kkkkkkkkkkk"}},
         {5,
          7,
          {".kkk...kkk.", "kdddk.kdddk", "kdddkkkdddk", "kkkkkkkkkkk", "kBBwk.kBBwk", "kBBBk.kBBBk",
           "kBBBk.kBBBk", ".kkk...kkk."}}});
    // Save search: a floppy disk.
    art.push_back({{0,
                    0,
                    {"kkkkkkkkkkkkkkk", "knwwwwwwwwwwwnk", "knwwwwwwwwwwwnk", "knwddddddddwwnk",
                     "knwwwwwwwwwwwnk", "knwddddddddwwnk", "knwwwwwwwwwwwnk", "knnnnnnnnnnnnnk",
                     "knnnnnnnnnnnnnk", "knnddddddddnnnk", "knnddkkddddnnnk", "knnddkkddddnnnk",
                     "knnddkkddddnnnk", ".knddddddddnnnk", "..kkkkkkkkkkkkk"}}});
    // Show work summary: a white question mark on a blue disc.
    art.push_back({{0,
                    0,
                    {".....kkkkkk.....", "...kkBBBBBBkk...", "..kBBBBBBBBBBk..", ".kBBBBwwwwBBBBk.",
                     ".kBBBwwBBwwBBBk.", "kBBBBwwBBwwBBBBk", "kBBBBBBBBwwBBBBk", "kBBBBBBBwwBBBBBk",
                     "kBBBBBBwwBBBBBBk", "kBBBBBBwwBBBBBBk", ".kBBBBBBBBBBBBk.", ".kBBBBBwwBBBBBk.",
                     "..kBBBBwwBBBBk..", "...kkBBBBBBkk...", ".....kkkkkk....."}}});
    // About: a yellow question mark.
    art.push_back(
        {{3,
          0,
          {"..kkkkkk..", ".kYYYYYYk.", "kYYkkkkYYk", "kYYk..kYYk", "kkkk..kYYk", "......kYYk",
           ".....kYYk.", "....kYYk..", "...kYYk...", "...kYYk...", "...kkkk...", "..........",
           "...kkkk...", "...kYYk...", "...kYYk...", "...kkkk..."}}});
    // Search: a magnifying glass.
    art.push_back({{0,
                    0,
                    {"...kkkkkk.......", "..kwwCCCCk......", ".kwCCCCCCCk.....", "kwCCCCCCCCCk....",
                     "kwCCCCCCCCCk....", "kCCCCCCCCCCk....", "kCCCCCCCCCCk....", "kCCCCCCCCCCk....",
                     ".kCCCCCCCCk.....", "..kCCCCCCkok....", "...kkkkkkkook...", "..........kook..",
                     "...........kook.", "............kook", ".............kk."}}});
    // Only correct files, only incorrect files.
    art.push_back({{0, 0, kTick}});
    art.push_back({{0, 0, kCross}});
    return art;
}

void WriteToolbar(const std::filesystem::path& folder) {
    // Light grey is the colour the toolbar maps to the button face.
    const std::uint8_t background = 7;
    std::vector<std::uint8_t> strip(128 * 16, background);
    const auto art = ToolbarArt();
    for (std::size_t i = 0; i < art.size(); ++i) {
        const auto button = DrawArt(16, 16, background, art[i]);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                strip[static_cast<std::size_t>(y * 128 + static_cast<int>(i) * 16 + x)] =
                    button[static_cast<std::size_t>(y * 16 + x)];
            }
        }
    }
    SaveBmp(folder / "toolbar.bmp", 128, 16, 4, {kVga.begin(), kVga.end()},
            IndexedBits(128, 16, 4, strip));
}

void WriteCheckMarks(const std::filesystem::path& folder) {
    const std::uint8_t magenta = 13;
    std::vector<std::uint8_t> strip(48 * 16, magenta);
    const std::vector<std::vector<std::string>> marks = {kTick, kCross};
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const auto mark = DrawArt(16, 16, magenta, {{0, 0, marks[i]}});
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                strip[static_cast<std::size_t>(y * 48 + (static_cast<int>(i) + 1) * 16 + x)] =
                    mark[static_cast<std::size_t>(y * 16 + x)];
            }
        }
    }
    SaveBmp(folder / "check_marks.bmp", 48, 16, 4, {kVga.begin(), kVga.end()},
            IndexedBits(48, 16, 4, strip));
}

// The laboratory's mark: a disk platter with a green arrow coming back round it.
void DrawLabMark(Canvas& c, float cx, float cy, float r) {
    c.Fill(Disc(cx, cy, r), [&](float x, float y) {
        const float t = std::clamp(((x - cx) + (y - cy)) / (2.8f * r) + 0.5f, 0.0f, 1.0f);
        return Mix(Colour(96, 140, 220), Colour(20, 45, 120), t);
    });
    c.Fill(Ring(cx, cy, r * 0.72f, r * 0.62f), Colour(150, 180, 235));
    c.Fill(Disc(cx, cy, r * 0.24f), Colour(235, 240, 250));
    c.Fill(Disc(cx, cy, r * 0.09f), Colour(20, 45, 120));
    // Recovery arrow: an arc over the upper right and its head.
    const float ar = r * 0.9f;
    std::vector<std::array<float, 2>> arc;
    for (int i = 0; i <= 12; ++i) {
        const float angle = -2.6f + 1.9f * static_cast<float>(i) / 12.0f;
        arc.push_back({cx + ar * std::cos(angle), cy + ar * std::sin(angle)});
    }
    c.Fill(Stroke(arc, r * 0.28f), Colour(40, 170, 60));
    const float ex = arc.back()[0], ey = arc.back()[1];
    const float head = r * 0.38f;
    c.Fill(
        [=](float x, float y) {
            // Triangle pointing down and round the circle.
            const float ax = ex - head, ay = ey - head * 0.2f;
            const float bx = ex + head, by = ey - head * 0.2f;
            const float qx = ex, qy = ey + head;
            auto side = [](float px, float py, float ux, float uy, float vx, float vy) {
                return (vx - ux) * (py - uy) - (vy - uy) * (px - ux);
            };
            const float s1 = side(x, y, ax, ay, bx, by), s2 = side(x, y, bx, by, qx, qy),
                        s3 = side(x, y, qx, qy, ax, ay);
            return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
        },
        Colour(40, 170, 60));
}

void WriteBanner(const std::filesystem::path& folder) {
    const Rgba transparent = Colour(232, 237, 220);
    Canvas c(206, 23, transparent);
    c.Fill(RoundRect(0.5f, 0.5f, 205.5f, 22.5f, 5), Colour(70, 95, 150));
    c.Fill(RoundRect(1.5f, 1.5f, 204.5f, 21.5f, 4), [](float, float y) {
        return Mix(Colour(255, 255, 255), Colour(205, 218, 240), y / 23.0f);
    });
    DrawLabMark(c, 12.5f, 11.5f, 8.5f);
    int x = DrawText(c, 27, 5, "RECUPERA", 2, Colour(20, 50, 130));
    DrawText(c, x + 7, 5, "LAB", 2, Colour(225, 115, 20));
    // A globe: the button leads to the web site.
    const float gx = 191.5f, gy = 11.5f, gr = 7.5f;
    c.Fill(Disc(gx, gy, gr), Colour(60, 130, 200));
    c.Fill(Ring(gx, gy, gr, gr - 1.1f), Colour(20, 60, 120));
    c.Fill(
        [=](float px, float py) {
            const float dx = (px - gx) / (gr * 0.45f), dy = (py - gy) / gr;
            const float d = dx * dx + dy * dy;
            return d <= 1.0f && d >= 0.55f;
        },
        Colour(220, 235, 250));
    c.Fill([=](float px, float py) { return std::fabs(py - gy) < 0.6f && std::fabs(px - gx) < gr; },
           Colour(220, 235, 250));
    c.Fill([=](float px, float py) { return std::fabs(px - gx) < 0.6f && std::fabs(py - gy) < gr; },
           Colour(220, 235, 250));
    // Straight colour only: the transparent colour must stay exact where nothing was drawn.
    SaveBmp(folder / "banner.bmp", 206, 23, 24, {}, ColourBits(c, 24));
}

// The program's icon: a listing sheet with a green confirmation mark.
Canvas AppIcon(int size) {
    const float s = static_cast<float>(size);
    Canvas c(size, size);
    const float left = s * 0.12f, right = s * 0.74f, top = s * 0.04f, bottom = s * 0.90f;
    const float edge = std::max(1.0f, s / 24);
    c.Fill(RoundRect(left, top, right, bottom, s * 0.06f), Colour(60, 70, 90));
    c.Fill(
        RoundRect(left + edge, top + edge, right - edge, bottom - edge, s * 0.05f),
        [&](float, float y) { return Mix(Colour(255, 255, 255), Colour(222, 230, 242), y / s); });
    // Lines of the listing, indented like a folder tree, with small yellow folders.
    const int lines = size <= 16 ? 4 : 6;
    const float step = (s * 0.62f) / static_cast<float>(lines);
    const float bar = std::max(1.0f, step * 0.42f);
    const int indents[] = {0, 1, 2, 2, 1, 2};
    for (int i = 0; i < lines; ++i) {
        const float y = top + s * 0.10f + step * static_cast<float>(i);
        const float x = left + s * 0.08f + static_cast<float>(indents[i]) * s * 0.07f;
        if (size >= 32) {
            c.Fill(RoundRect(x, y - bar * 0.15f, x + bar * 1.6f, y + bar * 1.15f, bar * 0.2f),
                   Colour(230, 180, 30));
            c.Fill(RoundRect(x + bar * 2.1f, y, right - s * 0.08f, y + bar, bar * 0.3f),
                   Colour(90, 105, 135));
        } else {
            c.Fill(RoundRect(x, y, right - s * 0.1f, y + bar, 0), Colour(90, 105, 135));
        }
    }
    // The green mark.
    const float cx = s * 0.70f, cy = s * 0.72f, r = s * 0.27f;
    c.Fill(Disc(cx, cy, r), Colour(255, 255, 255));
    c.Fill(Disc(cx, cy, r - edge), [&](float, float y) {
        const float t = std::clamp((y - (cy - r)) / (2 * r), 0.0f, 1.0f);
        return Mix(Colour(80, 200, 80), Colour(20, 120, 30), t);
    });
    c.Fill(Stroke({{cx - r * 0.50f, cy + r * 0.02f},
                   {cx - r * 0.12f, cy + r * 0.42f},
                   {cx + r * 0.52f, cy - r * 0.38f}},
                  std::max(1.6f, r * 0.30f)),
           Colour(255, 255, 255));
    return c;
}

void WriteAppIcon(const std::filesystem::path& folder) {
    std::vector<IconEntry> entries;
    for (int bits : {4, 8, 32}) {
        for (int size : {16, 32, 48}) {
            entries.push_back({size, size, bits, IconImage(AppIcon(size), bits)});
        }
    }
    for (int size : {64, 72, 96, 128}) {
        entries.push_back({size, size, 32, IconImage(AppIcon(size), 32)});
    }
    SaveIco(folder / "tov.ico", entries);
}

// The logo strip of the about box and the work summary: the mark, the program's name and the
// laboratory's.
void WriteLogoStrip(const std::filesystem::path& folder) {
    Canvas c(190, 18);
    DrawLabMark(c, 8.5f, 9.0f, 7.5f);
    const int x = DrawText(c, 21, 2, "TOV", 2, Colour(20, 50, 130));
    c.Fill([=](float px, float py) { return px >= x + 5 && px < x + 6 && py >= 2 && py < 16; },
           Colour(120, 130, 150));
    DrawText(c, x + 11, 1, "LISTING VIEWER", 1, Colour(20, 50, 130));
    DrawText(c, x + 11, 10, "RECUPERA LAB", 1, Colour(225, 115, 20));
    if (x + 11 + TextWidth("LISTING VIEWER", 1) > 190) {
        throw std::runtime_error("logo text too wide");
    }
    SaveIco(folder / "logo.ico", {{190, 18, 8, IconImage(c, 8)}});
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::filesystem::path folder = argc > 1 ? argv[1] : "res/images";
        std::filesystem::create_directories(folder);
        WriteToolbar(folder);
        WriteCheckMarks(folder);
        WriteBanner(folder);
        WriteAppIcon(folder);
        WriteLogoStrip(folder);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "draw_images: %s\n", e.what());
        return 1;
    }
}
