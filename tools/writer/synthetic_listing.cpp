#include "tools/writer/synthetic_listing.h"

#include "tools/writer/file_types.h"
#include "tools/writer/listing_writer.h"

#include <stdexcept>
#include <string_view>
#include <vector>

namespace tov::writer {
namespace {

// SplitMix64: small, fast and the same on every platform (the standard distributions are not).
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }
    int Between(int low, int high) { return low + static_cast<int>(Below(high - low + 1)); }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

  private:
    std::uint64_t state_;
};

// Windows-1252 bytes: \xE1 a-acute, \xE9 e-acute, \xED i-acute, \xF3 o-acute, \xFA u-acute,
// \xF1 n-tilde, \xFC u-diaeresis, \xC1 A-acute, \xD1 N-tilde, \xBA ordinal sign.
constexpr std::string_view kFolderWords[] = {"Documentos",
                                             "Fotos",
                                             "Contabilidad",
                                             "Presupuestos",
                                             "Facturas",
                                             "Clientes",
                                             "Proveedores",
                                             "Planos",
                                             "M\xFAsica",
                                             "Presentaciones",
                                             "Correspondencia",
                                             "Contratos",
                                             "N\xF3minas",
                                             "A\xF1o 2008",
                                             "A\xF1o 2009",
                                             "Dise\xF1os",
                                             "Obras",
                                             "Vacaciones",
                                             "Cumplea\xF1os",
                                             "Informes",
                                             "Copias de seguridad",
                                             "Escaneos",
                                             "Proyectos",
                                             "Ping\xFCino",
                                             "Campa\xF1"
                                             "as",
                                             "Reuniones",
                                             "Licitaciones",
                                             "Auditor\xED"
                                             "a",
                                             "Calidad",
                                             "Recursos humanos",
                                             "Archivo",
                                             "Varios"};

constexpr std::string_view kFileWords[] = {"Presupuesto",
                                           "Factura",
                                           "Informe",
                                           "Carta",
                                           "Contrato",
                                           "Oferta",
                                           "Pedido",
                                           "Albar\xE1n",
                                           "Reuni\xF3n",
                                           "Presentaci\xF3n",
                                           "Dise\xF1o",
                                           "N\xF3mina",
                                           "Balance",
                                           "Inventario",
                                           "Memoria",
                                           "Acta",
                                           "Solicitud",
                                           "Certificado",
                                           "Canci\xF3n",
                                           "Resumen",
                                           "Planificaci\xF3n",
                                           "Tarifa",
                                           "Cat\xE1logo",
                                           "Env\xEDo",
                                           "Se\xF1"
                                           "al",
                                           "M\xFCller",
                                           "G\xFC\xE9ll",
                                           "Ni\xF1os",
                                           "Liquidaci\xF3n",
                                           "Propuesta",
                                           "Encuesta",
                                           "Valoraci\xF3n"};

constexpr std::string_view kFileQualifiers[] = {"final",
                                                "revisado",
                                                "definitivo",
                                                "borrador",
                                                "copia",
                                                "antiguo",
                                                "nuevo",
                                                "cliente",
                                                "enero",
                                                "febrero",
                                                "marzo",
                                                "abril",
                                                "mayo",
                                                "junio",
                                                "t\xE9"
                                                "cnico",
                                                "econ\xF3mico"};

struct FileKind {
    std::string_view extension;
    int weight;
    int min_bits;  // sizes from 2^min_bits to 2^(max_bits+1) bytes
    int max_bits;
    bool camera;  // named like a camera's pictures
};

constexpr FileKind kKinds[] = {
    {"doc", 14, 13, 20, false}, {"xls", 10, 13, 21, false}, {"ppt", 4, 17, 23, false},
    {"pdf", 8, 14, 22, false},  {"jpg", 16, 16, 22, true},  {"JPG", 6, 18, 22, true},
    {"bmp", 2, 14, 21, false},  {"gif", 2, 10, 17, false},  {"tif", 2, 18, 24, true},
    {"png", 3, 11, 19, false},  {"zip", 3, 15, 28, false},  {"dwg", 3, 15, 23, false},
    {"mp3", 6, 21, 23, false},  {"wav", 2, 18, 25, false},  {"txt", 5, 6, 15, false},
    {"docx", 4, 13, 20, false}, {"xlsx", 3, 13, 20, false}, {"htm", 2, 10, 17, false},
    {"exe", 1, 15, 24, false},  {"mdb", 2, 17, 26, false},  {"pps", 1, 18, 23, false},
    {"dxf", 1, 15, 22, false}};

constexpr int TotalWeight() {
    int total = 0;
    for (const FileKind& kind : kKinds) {
        total += kind.weight;
    }
    return total;
}

const FileKind& PickKind(Random& random) {
    int ticket = static_cast<int>(random.Below(TotalWeight()));
    for (const FileKind& kind : kKinds) {
        if (ticket < kind.weight) {
            return kind;
        }
        ticket -= kind.weight;
    }
    return kKinds[0];
}

void AppendNumber(std::string& out, std::uint64_t value, int min_digits = 1) {
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < min_digits; ++i) {
        out += '0';
    }
    while (count > 0) {
        out += digits[--count];
    }
}

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

void MakeDate(Random& random, std::string& out) {
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = random.Between(1996, 2011);
    const int month = random.Between(1, 12);
    const int day = random.Between(1, kDaysInMonth[month - 1]);
    out.clear();
    AppendTwoDigits(out, day);
    out += '/';
    AppendTwoDigits(out, month);
    out += '/';
    AppendTwoDigits(out, year % 100);
    out += ' ';
    AppendTwoDigits(out, random.Between(7, 21));
    out += ':';
    AppendTwoDigits(out, random.Between(0, 59));
    out += ':';
    AppendTwoDigits(out, random.Between(0, 59));
}

// The name of the file that stands at `index` in its folder; the index in the name keeps the
// names of one folder distinct, the running picture number those of a camera.
void MakeFileName(Random& random, const FileKind& kind, std::uint64_t index,
                  std::uint64_t& picture_number, std::string& out) {
    out.clear();
    if (kind.camera && random.Below(10) < 7) {
        out += random.Below(2) == 0 ? "IMG_" : "DSC";
        AppendNumber(out, ++picture_number, 5);
    } else {
        out += random.Pick(kFileWords);
        switch (random.Below(3)) {
            case 0:
                out += ' ';
                break;
            case 1:
                out += ' ';
                out += random.Pick(kFileQualifiers);
                out += ' ';
                break;
            default:
                out += '_';
                AppendNumber(out, static_cast<std::uint64_t>(random.Between(1998, 2011)));
                out += '_';
                break;
        }
        AppendNumber(out, index + 1);
    }
    out += '.';
    out += kind.extension;
}

struct Folders {
    std::vector<std::uint64_t> first_child;  // into `children`; size folders + 1
    std::vector<std::uint64_t> children;
    std::vector<std::uint64_t> files;  // files directly in each folder
};

// Folder 0 is the root. Folders 1..depth form one chain so that the depth is reached; every
// further folder hangs from a random folder above the deepest level. Files go to random folders.
Folders ShapeFolders(const SyntheticOptions& options, Random& random) {
    const std::uint64_t count = options.folders;
    std::vector<std::uint64_t> parent(count, 0);
    std::vector<std::uint64_t> level(count, 0);
    std::vector<std::uint64_t> can_have_children;
    if (options.depth > 0) {
        can_have_children.push_back(0);
    }
    for (std::uint64_t folder = 1; folder < count; ++folder) {
        const std::uint64_t up = folder <= options.depth
                                     ? folder - 1
                                     : can_have_children[random.Below(can_have_children.size())];
        parent[folder] = up;
        level[folder] = level[up] + 1;
        if (level[folder] < options.depth) {
            can_have_children.push_back(folder);
        }
    }
    Folders shape;
    shape.first_child.assign(count + 1, 0);
    for (std::uint64_t folder = 1; folder < count; ++folder) {
        ++shape.first_child[parent[folder] + 1];
    }
    for (std::uint64_t folder = 0; folder < count; ++folder) {
        shape.first_child[folder + 1] += shape.first_child[folder];
    }
    shape.children.resize(count > 0 ? count - 1 : 0);
    std::vector<std::uint64_t> filled(shape.first_child.begin(), shape.first_child.end() - 1);
    for (std::uint64_t folder = 1; folder < count; ++folder) {
        shape.children[filled[parent[folder]]++] = folder;
    }
    shape.files.assign(count, 0);
    for (std::uint64_t file = 0; file < options.files; ++file) {
        ++shape.files[random.Below(count)];
    }
    return shape;
}

void AppendFolderName(std::string& out, std::uint64_t folder, std::uint64_t sibling_index) {
    constexpr std::uint64_t kWords = sizeof kFolderWords / sizeof kFolderWords[0];
    out += kFolderWords[(folder * 7 + sibling_index) % kWords];
    if (sibling_index >= kWords) {
        out += ' ';
        AppendNumber(out, sibling_index / kWords + 1);
    }
}

void WriteHeader(const SyntheticOptions& options, Random& random, ListingBuilder& builder) {
    static constexpr std::string_view kFirms[] = {
        "Construcciones Pe\xF1"
        "alara S.L.",
        "Gestor\xED"
        "a Alc\xE1ntara y Asociados S.A.",
        "Transportes Mu\xF1oz e Hijos S.L.",
        "Cl\xED"
        "nica Dental Sonr\xED"
        "e S.L.P."};
    static constexpr std::string_view kAddresses[] = {
        "C/ Mayor, 14, 2\xBA B", "Avda. de la Constituci\xF3n, 87", "Pol. Ind. El Olivar, nave 12",
        "Plaza de Espa\xF1"
        "a, 3, bajo"};
    static constexpr std::string_view kTowns[][2] = {{"Alcal\xE1 de Henares", "Madrid"},
                                                     {"Logro\xF1o", "La Rioja"},
                                                     {"M\xE1laga", "M\xE1laga"},
                                                     {"Le\xF3n", "Le\xF3n"}};
    static constexpr std::string_view kDevices[][3] = {{"Durastor", "DS-3250 SATA", "250 GB"},
                                                       {"Kestrel Data", "KD Travel 80", "80 GB"},
                                                       {"Nordia", "NX-1000 ATA/133", "1 TB"}};
    std::string job = "2009/";
    AppendNumber(job, random.Below(10000), 4);
    const std::uint64_t town = random.Below(4);
    const std::uint64_t device = random.Below(3);
    const int day = random.Between(1, 20);
    const int month = random.Between(1, 12);
    builder.Header(kHeaderKeys[0], job);
    builder.Header(kHeaderKeys[1], FormatDate(day, month, 2009, 0, 0, 0).substr(0, 6) + "2009");
    builder.Header(kHeaderKeys[2], kFirms[random.Below(4)]);
    builder.Header(kHeaderKeys[3], kAddresses[random.Below(4)]);
    builder.Header(kHeaderKeys[4], kTowns[town][0]);
    builder.Header(kHeaderKeys[5], kTowns[town][1]);
    builder.Header(kHeaderKeys[6],
                   "Espa\xF1"
                   "a");
    builder.Header(kHeaderKeys[7], kDevices[device][0]);
    builder.Header(kHeaderKeys[8], kDevices[device][1]);
    builder.Header(kHeaderKeys[9], FormatDate(day + 5, month, 2009, 0, 0, 0).substr(0, 6) + "2009");
    builder.Header(kHeaderKeys[10], kDevices[device][2]);
    builder.Header(kHeaderKeys[11], std::to_string(options.folders));
    builder.Header(kHeaderKeys[12], std::to_string(options.files));
}

}  // namespace

void WriteSyntheticListing(const SyntheticOptions& options, ListingBuilder& builder) {
    if (options.folders == 0) {
        throw std::invalid_argument("a listing has at least its root folder");
    }
    if (options.folders > 1 && options.depth == 0) {
        throw std::invalid_argument("a depth of 0 allows the root folder only");
    }
    if (options.root.empty()) {
        throw std::invalid_argument("the root needs a name");
    }
    Random random(options.seed);
    const Folders shape = ShapeFolders(options, random);
    CheckStatistics statistics;
    std::uint64_t picture_number = 0;
    std::string name;
    std::string size;
    std::string date;

    auto write_files = [&](std::uint64_t folder) {
        for (std::uint64_t index = 0; index < shape.files[folder]; ++index) {
            const FileKind& kind = PickKind(random);
            MakeFileName(random, kind, index, picture_number, name);
            const int bits = random.Between(kind.min_bits, kind.max_bits);
            const std::uint64_t base = std::uint64_t{1} << bits;
            size = FormatSize(base + random.Below(base));
            MakeDate(random, date);
            std::string_view status;
            if (StatisticsRowOf(name) != 0) {
                const std::uint64_t roll = random.Below(100);
                status = roll < 82 ? "bien" : roll < 94 ? "mal" : "";
            }
            statistics.Add(name, status);
            builder.File(name, size, date, status);
        }
    };

    // Depth-first with an explicit stack: each folder's files follow its folder-open line,
    // then its sub-folders, then its folder-close line.
    struct Frame {
        std::uint64_t folder;
        std::uint64_t next_child;
        std::size_t path_length;
    };
    std::string path = options.root;
    std::string line;
    builder.OpenFolder(path);
    write_files(0);
    std::vector<Frame> stack{{0, 0, path.size()}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const std::uint64_t begin = shape.first_child[top.folder];
        const std::uint64_t end = shape.first_child[top.folder + 1];
        if (begin + top.next_child == end) {
            builder.CloseFolder();
            stack.pop_back();
            continue;
        }
        const std::uint64_t child = shape.children[begin + top.next_child];
        const std::uint64_t sibling_index = top.next_child++;
        if (options.full_paths) {
            path.resize(top.path_length);
            path += '\\';
            AppendFolderName(path, child, sibling_index);
            builder.OpenFolder(path);
        } else {
            line.clear();
            AppendFolderName(line, child, sibling_index);
            builder.OpenFolder(line);
        }
        write_files(child);
        stack.push_back({child, 0, path.size()});
    }

    WriteHeader(options, random, builder);
    statistics.Write(builder);
}

std::string MakeSyntheticListing(const SyntheticOptions& options) {
    ListingBuilder builder;
    WriteSyntheticListing(options, builder);
    return builder.Finish();
}

}  // namespace tov::writer
