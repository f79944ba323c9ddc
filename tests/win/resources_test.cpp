// The resources as the program sees them: texts, dialogs, images and toolbars looked up in each
// of the six languages after switching the thread to it, as the command-line switch does. The six
// language scripts are kept by hand side by side, so these checks also catch the drift between
// them that the resource compiler cannot see: a text or control missing in one language, a label
// whose conversions differ from the English one (its value would not show), a help text line too
// long for the about box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/text_win.h"

namespace {

struct Language {
    const char* code;
    LCID locale;       // what the language switch passes to SetThreadLocale
    LANGID resources;  // the language of the texts that must answer
    // Spot checks, in Windows-1252.
    const char* invalid_listing;  // IDS_INVALID_LISTING
    const char* empty_list;       // IDS_EMPTY_LIST
    const char* results_count;    // IDS_RESULTS_COUNT with "abc" and 12
    const char* summary_caption;  // IDD_WORK_SUMMARY
    const char* about_caption;    // IDD_ABOUT
    const char* ok_button;
    const char* web_site;  // IDS_WEBSITE_URL
    short summary_width;   // IDD_WORK_SUMMARY, dialog units
};

const Language kLanguages[] = {
    {"es", 0x000A, 3082, "El archivo de datos no es v\xE1lido",
     "no hay ning\xFAn elemento en la lista", " - abc - 12 archivo(s)", "Resumen del trabajo",
     "Acerca de Tov", "Aceptar", "http://www.recupera.example.com/", 435},
    {"en", 0x0009, 1033, "Invalid data file", "empty listing", " - abc - 12 file(s)",
     "Work summary", "About Tov", "OK", "http://www.recupera.example.com/", 435},
    {"fr", 0x000C, 1036,
     "Le fichier de donn\xE9"
     "es n\x92"
     "est pas valide",
     "Aucun \xE9l\xE9ments dans la liste", " - abc - 12 fichier(s)", "Tov", "Tov", "Accepter",
     "http://www.recupera.example.fr/", 435},
    {"de", 0x0007, 1031, "Ung\xFCltiges Dateiformat", "kein Element vorhanden",
     " - abc - 12 Datei(en)", "Zusammenfassung der Datenrettung",
     "\xDC"
     "ber Tov",
     "Akzeptieren", "http://www.recupera.example.de/", 435},
    {"it", 0x0010, 1040, "Il file di dati non \xE8 valido",
     "Non c\x92\xE8 nessun elemento nella lista", " - abc - 12 file(s)", "Riassunto del lavoro",
     "Informazioni su Tov", "Accettare", "http://www.recupera.example.com/", 435},
    {"pt", 0x0816, 2070, "O ficheiro dos dados n\xE3o \xE9 v\xE1lido",
     "n\xE3o foi encontrado nenhum elemento na listagem", " - abc - 12 ficheiro(s)",
     "Resumo do trabalho", "Sobre o Tov", "Aceitar", "http://www.recupera.example.pt/", 420},
};

using tov::test::WindowText;

constexpr LANGID kEnglish = 1033;

// Every string identifier of the program, in ascending order.
std::vector<UINT> AllStringIds() {
    std::vector<UINT> ids;
    for (UINT id = IDR_MAINFRAME; id <= IDS_CLASS_SQLSERVER; ++id)
        ids.push_back(id);
    ids.push_back(IDS_LISTING_PATTERN);
    for (UINT id = IDS_HEADER_WORK_NUMBER; id <= IDS_HEADER_TOTAL_FILES; ++id)
        ids.push_back(id);
    for (UINT id = IDS_STATS_ANALYSED; id <= IDS_STATS_SOUND; ++id)
        ids.push_back(id);
    for (UINT id :
         {IDS_SEARCH_LABEL, IDS_RESULTS_COUNT, IDS_SAVE_ERROR, IDS_INVALID_PATTERN,
          IDS_LINES_LEFT_OUT, IDS_HELP_TEXT, ID_ONLY_GOOD, ID_ONLY_BAD, ID_WEBSITE, IDS_WEBSITE_URL,
          ID_SHOW_RESULTS, ID_ABOUT, ID_FOLDER_UP, ID_SAVE_SEARCH, ID_SEARCH, ID_SHOW_SUMMARY}) {
        ids.push_back(id);
    }
    return ids;
}

std::size_t Count(const std::string& text, const char* what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Switches the thread to a language as the program's start-up does, and back afterwards.
class LanguageScope {
  public:
    explicit LanguageScope(const Language& language)
        : locale_(GetThreadLocale()), ui_language_(GetThreadUILanguage()) {
        SetThreadLocale(language.locale);
        SetThreadUILanguage(LANGIDFROMLCID(language.locale));
    }
    ~LanguageScope() {
        SetThreadLocale(locale_);
        SetThreadUILanguage(ui_language_);
    }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

  private:
    LCID locale_;
    LANGID ui_language_;
};

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The raw bytes of a resource in exactly the given language, or empty.
std::string RawResource(LPCSTR type, LPCSTR name, LANGID language) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, name, language);
    if (found == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found))
                : std::string();
}

WORD WordAt(const std::string& data, std::size_t offset) {
    WORD value = 0;
    if (offset + sizeof(value) <= data.size()) {
        std::memcpy(&value, data.data() + offset, sizeof(value));
    }
    return value;
}

// Integer names of the resources of a type, and the languages of one of them, in ascending order.
std::vector<UINT> ResourceNames(LPCSTR type) {
    std::vector<UINT> names;
    EnumResourceNamesA(
        GetModuleHandleA(nullptr), type,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<UINT>*>(found)->push_back(
                static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<LANGID> ResourceLanguages(LPCSTR type, UINT name) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesA(
        GetModuleHandleA(nullptr), type, MAKEINTRESOURCEA(name),
        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    std::sort(languages.begin(), languages.end());
    return languages;
}

// Every string of exactly one language, read from its string-table blocks (no fallback to another
// language answers), by identifier.
std::map<UINT, std::wstring> StringTable(LANGID language) {
    std::map<UINT, std::wstring> strings;
    for (UINT block : ResourceNames(RT_STRING)) {
        const std::string raw = RawResource(RT_STRING, MAKEINTRESOURCEA(block), language);
        std::size_t at = 0;
        for (UINT id = (block - 1) * 16; id < block * 16 && at + 2 <= raw.size(); ++id) {
            const std::size_t length = WordAt(raw, at);
            at += 2;
            if (length != 0 && at + length * 2 <= raw.size()) {
                std::wstring text(length, L'\0');
                std::memcpy(text.data(), raw.data() + at, length * 2);
                strings[id] = text;
            }
            at += length * 2;
        }
    }
    return strings;
}

// The printf conversions of a format, in order ("%s", "%u", ...); "%%" is no conversion.
std::vector<std::wstring> Conversions(const std::wstring& format) {
    std::vector<std::wstring> found;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') {
            continue;
        }
        std::size_t j = i + 1;
        if (j < format.size() && format[j] == L'%') {
            i = j;
            continue;
        }
        while (j < format.size() &&
               std::wstring(L"-+ #0123456789.*hlLzjtI").find(format[j]) != std::wstring::npos) {
            ++j;
        }
        found.push_back(format.substr(i, j < format.size() ? j - i + 1 : j - i));
        i = j;
    }
    return found;
}

// The controls of a dialog in template order, as "class id".
std::vector<std::string> Controls(HWND dialog) {
    std::vector<std::string> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char class_name[64] = {};
        GetClassNameA(child, class_name, sizeof(class_name));
        controls.push_back(std::string(class_name) + " " + std::to_string(GetDlgCtrlID(child)));
    }
    return controls;
}

std::string Control(const char* class_name, int id) {
    return std::string(class_name) + " " + std::to_string(id);
}

void CheckEveryTextIsThereInTheLanguage(const Language& language) {
    for (UINT id : AllStringIds()) {
        EXPECT_FALSE(tov::LoadText(id).empty()) << id;
    }
    EXPECT_EQ(tov::LoadText(IDS_INVALID_LISTING), language.invalid_listing);
    EXPECT_EQ(tov::LoadText(IDS_EMPTY_LIST), language.empty_list);
    EXPECT_EQ(tov::FormatText2(IDS_RESULTS_COUNT, "abc", 12), language.results_count);
    EXPECT_EQ(tov::LoadText(IDS_WEBSITE_URL), language.web_site);
    EXPECT_EQ(tov::LoadText(IDR_MAINFRAME), "Tov");
    EXPECT_EQ(tov::LoadText(IDS_LISTING_PATTERN), "*.tov");
    // The string table of exactly this language exists (no fallback answered).
    EXPECT_FALSE(
        RawResource(RT_STRING, MAKEINTRESOURCEA(IDS_RESULTS_COUNT / 16 + 1), language.resources)
            .empty());
    // Exactly the program's texts, in exactly this language, with the printf conversions of the
    // English ones. A "\\" in a text is an escape the resource compiler did not know: only the
    // French tooltip of ID_ONLY_BAD is stored so.
    const std::map<UINT, std::wstring> strings = StringTable(language.resources);
    const std::map<UINT, std::wstring> english = StringTable(kEnglish);
    std::vector<UINT> ids;
    for (const auto& [id, text] : strings) {
        ids.push_back(id);
        const auto match = english.find(id);
        if (match != english.end()) {
            EXPECT_EQ(Conversions(text), Conversions(match->second)) << id;
        }
        const bool french_tooltip = std::strcmp(language.code, "fr") == 0 && id == ID_ONLY_BAD;
        EXPECT_EQ(text.find(L'\\') != std::wstring::npos, french_tooltip) << id;
    }
    EXPECT_EQ(ids, AllStringIds());
    // A missing identifier is an empty text, also when formatted.
    EXPECT_EQ(tov::LoadText(4000), "");
    EXPECT_EQ(tov::FormatText(4000, "x"), "");
}

void CheckTooltipsFollowTheirLineFeed(const Language& language) {
    for (UINT id : {ID_ONLY_GOOD, ID_ONLY_BAD, ID_WEBSITE, ID_SHOW_RESULTS, ID_ABOUT, ID_FOLDER_UP,
                    ID_SAVE_SEARCH, ID_SEARCH, ID_SHOW_SUMMARY}) {
        const std::string text = tov::LoadText(id);
        const std::size_t line_feed = text.find('\n');
        if (std::strcmp(language.code, "fr") == 0 && id == ID_ONLY_BAD) {
            EXPECT_EQ(line_feed, std::string::npos);
            EXPECT_EQ(text.substr(0, 3), "\\ n");
        } else {
            EXPECT_EQ(line_feed, 0u) << id;
            EXPECT_GT(text.size(), 1u) << id;
        }
    }
    if (std::strcmp(language.code, "fr") == 0) {
        EXPECT_EQ(tov::LoadText(ID_ABOUT), "\nTov");
    }
}

void CheckLabelsAndTitleTakeTheirArguments() {
    std::vector<UINT> labels;
    for (UINT id = IDS_HEADER_WORK_NUMBER; id <= IDS_HEADER_TOTAL_FILES; ++id)
        labels.push_back(id);
    for (UINT id = IDS_STATS_ANALYSED; id <= IDS_STATS_SOUND; ++id)
        labels.push_back(id);
    for (UINT id : labels) {
        const std::string label = tov::LoadText(id);
        EXPECT_EQ(Count(label, "%"), 1u) << id << " " << label;
        EXPECT_EQ(label.substr(label.size() - 2), "%s") << id;
        EXPECT_EQ(tov::FormatText(id, ":\t100%"), label.substr(0, label.size() - 2) + ":\t100%");
    }
    const std::string count = tov::LoadText(IDS_RESULTS_COUNT);
    EXPECT_EQ(Count(count, "%"), 2u);
    EXPECT_EQ(Count(count, "%s"), 1u);
    EXPECT_EQ(Count(count, "%u"), 1u);
    EXPECT_LT(count.find("%s"), count.find("%u"));
    // The reading of conversions that the comparison with English relies on.
    EXPECT_EQ(Conversions(L" - %s - %u file(s)"), (std::vector<std::wstring>{L"%s", L"%u"}));
    EXPECT_EQ(Conversions(L"100%% done%s"), std::vector<std::wstring>{L"%s"});
    EXPECT_EQ(Conversions(L"%-10.3ld"), std::vector<std::wstring>{L"%-10.3ld"});
}

void CheckOpenFilterHasFourPartsWithItsNuls() {
    const std::string filter = tov::LoadText(IDS_OPEN_FILTER);
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = filter.find('\0'); at != std::string::npos;
         at = filter.find('\0', start)) {
        parts.push_back(filter.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(filter.substr(start));
    ASSERT_EQ(parts.size(), 4u);
    for (const std::string& part : parts) {
        EXPECT_FALSE(part.empty());
    }
    EXPECT_EQ(parts[0].substr(parts[0].size() - 7), "(*.tov)");
    EXPECT_EQ(parts[1], "*.tov");
    EXPECT_EQ(parts[3], "*");
}

// The about box's edit does not wrap: every line ends in CR LF and fits its width; empty lines
// part the paragraphs. Every character is one byte of Windows-1252.
void CheckHelpTextIsWrittenForTheAboutBox(const Language& language) {
    const std::string help = tov::LoadText(IDS_HELP_TEXT);
    EXPECT_EQ(help.find('?'), std::string::npos) << "a character outside Windows-1252";
    const bool english = std::strcmp(language.code, "en") == 0;
    EXPECT_GE(help.size(), english ? 1700u : 1900u);
    EXPECT_LE(help.size(), english ? 1900u : 2100u);
    ASSERT_GE(help.size(), 2u);
    EXPECT_EQ(help.substr(help.size() - 2), "\r\n");
    const std::size_t limit = std::strcmp(language.code, "de") == 0 ? 58 : 74;
    std::size_t lines = 0;
    std::size_t empty_lines = 0;
    std::size_t start = 0;
    for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', start)) {
        EXPECT_TRUE(at > start && help[at - 1] == '\r') << "a bare line feed at " << at;
        const std::size_t length = at > start ? at - start - 1 : 0;
        EXPECT_LE(length, limit) << help.substr(start, length);
        empty_lines += length == 0 ? 1 : 0;
        ++lines;
        start = at + 1;
    }
    EXPECT_GT(lines, 30u);
    EXPECT_GT(empty_lines, 0u);
}

void CheckWorkSummaryTemplateCreatesItsDialog(const Language& language) {
    Window dialog(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WORK_SUMMARY),
                                     nullptr, QuietDialogProc, 0));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog.get()), language.summary_caption);
    EXPECT_FALSE(IsWindowVisible(dialog.get()));
    const LONG style = GetWindowLongA(dialog.get(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME),
              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_EQ(Controls(dialog.get()),
              (std::vector<std::string>{
                  Control("Static", IDC_LOGO), Control("Static", -1), Control("Edit", IDC_TEXT),
                  Control("Static", IDC_CHECK_CAPTION), Control(WC_LISTVIEWA, IDC_CHECK_LIST),
                  Control("Static", IDC_NOTE)}));
    char class_name[64] = {};
    GetClassNameA(GetDlgItem(dialog.get(), IDC_CHECK_LIST), class_name, sizeof(class_name));
    EXPECT_STREQ(class_name, WC_LISTVIEWA);
    const LONG list_style = GetWindowLongA(GetDlgItem(dialog.get(), IDC_CHECK_LIST), GWL_STYLE);
    EXPECT_EQ(list_style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(list_style & LVS_NOSORTHEADER);
    const LONG edit_style = GetWindowLongA(GetDlgItem(dialog.get(), IDC_TEXT), GWL_STYLE);
    EXPECT_TRUE(edit_style & ES_MULTILINE);
    EXPECT_TRUE(edit_style & ES_READONLY);
    EXPECT_TRUE(edit_style & WS_HSCROLL);
    // The template of exactly this language, with its width.
    const std::string raw =
        RawResource(RT_DIALOG, MAKEINTRESOURCEA(IDD_WORK_SUMMARY), language.resources);
    ASSERT_GT(raw.size(), 26u);
    ASSERT_EQ(WordAt(raw, 2), 0xFFFF) << "an extended template";
    EXPECT_EQ(static_cast<short>(WordAt(raw, 22)), language.summary_width);
    EXPECT_EQ(static_cast<short>(WordAt(raw, 24)), 200);
}

void CheckAboutTemplateCreatesItsDialog(const Language& language) {
    Window dialog(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT),
                                     nullptr, QuietDialogProc, 0));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog.get()), language.about_caption);
    EXPECT_EQ(Controls(dialog.get()),
              (std::vector<std::string>{Control("Button", IDOK), Control("Static", IDC_LOGO),
                                        Control("Static", -1), Control("Static", -1),
                                        Control("Static", -1), Control("Edit", IDC_TEXT)}));
    EXPECT_EQ(WindowText(GetDlgItem(dialog.get(), IDOK)), language.ok_button);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog.get(), IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    const LONG edit_style = GetWindowLongA(GetDlgItem(dialog.get(), IDC_TEXT), GWL_STYLE);
    EXPECT_TRUE(edit_style & ES_MULTILINE);
    EXPECT_TRUE(edit_style & ES_AUTOHSCROLL);
    EXPECT_TRUE(edit_style & ES_READONLY);
    EXPECT_TRUE(edit_style & WS_VSCROLL);
    // The logo is shown at its real size, not stretched to the system's icon size.
    HWND logo = GetDlgItem(dialog.get(), IDC_LOGO);
    HICON icon = reinterpret_cast<HICON>(SendMessageA(logo, STM_GETICON, 0, 0));
    ASSERT_NE(icon, nullptr);
    RECT place{};
    GetClientRect(logo, &place);
    EXPECT_EQ(place.right, 190);
    EXPECT_EQ(place.bottom, 18);
    const std::string raw = RawResource(RT_DIALOG, MAKEINTRESOURCEA(IDD_ABOUT), language.resources);
    ASSERT_GT(raw.size(), 26u);
    EXPECT_EQ(static_cast<short>(WordAt(raw, 22)), 257);
    EXPECT_EQ(static_cast<short>(WordAt(raw, 24)), 326);
}

void CheckVersionBlockDeclaresTheSpanishTranslation(const Language& language) {
    const std::string raw =
        RawResource(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), language.resources);
    ASSERT_FALSE(raw.empty());
    const std::string signature("\xBD\x04\xEF\xFE", 4);
    const std::size_t fixed = raw.find(signature);
    ASSERT_NE(fixed, std::string::npos);
    VS_FIXEDFILEINFO info{};
    ASSERT_LE(fixed + sizeof(info), raw.size());
    std::memcpy(&info, raw.data() + fixed, sizeof(info));
    EXPECT_EQ(info.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00010000u);
    EXPECT_EQ(info.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info.dwProductVersionLS, 0x00010000u);
    const std::wstring key = L"Translation";
    const std::size_t at =
        raw.find(std::string(reinterpret_cast<const char*>(key.c_str()), key.size() * 2));
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(raw.find(std::string("\x0A\x0C\xB0\x04", 4), at), std::string::npos);
    const std::wstring name = L"Tov.exe";
    EXPECT_NE(raw.find(std::string(reinterpret_cast<const char*>(name.c_str()), name.size() * 2)),
              std::string::npos);
}

class ResourcesByLanguage : public testing::TestWithParam<Language> {};

TEST_P(ResourcesByLanguage, TextsAreCompleteAndWellFormed) {
    LanguageScope scope(GetParam());
    CheckEveryTextIsThereInTheLanguage(GetParam());
    CheckTooltipsFollowTheirLineFeed(GetParam());
    CheckLabelsAndTitleTakeTheirArguments();
    CheckOpenFilterHasFourPartsWithItsNuls();
    CheckHelpTextIsWrittenForTheAboutBox(GetParam());
}

TEST_P(ResourcesByLanguage, TemplatesCreateTheirDialogs) {
    LanguageScope scope(GetParam());
    CheckWorkSummaryTemplateCreatesItsDialog(GetParam());
    CheckAboutTemplateCreatesItsDialog(GetParam());
}

TEST(SharedResources, EveryLanguageHasTheSameTextsDialogsAndOneVersionBlock) {
    std::vector<LANGID> six;
    for (const Language& language : kLanguages) {
        six.push_back(language.resources);
    }
    std::sort(six.begin(), six.end());
    EXPECT_EQ(ResourceNames(RT_DIALOG), (std::vector<UINT>{IDD_WORK_SUMMARY, IDD_ABOUT}));
    EXPECT_EQ(ResourceNames(RT_VERSION), std::vector<UINT>{VS_VERSION_INFO});
    for (LPCSTR type : {RT_STRING, RT_DIALOG, RT_VERSION}) {
        for (UINT name : ResourceNames(type)) {
            EXPECT_EQ(ResourceLanguages(type, name), six) << name;
        }
    }
}

TEST(SharedResources, EveryVersionBlockDeclaresTheSpanishTranslation) {
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.code);
        CheckVersionBlockDeclaresTheSpanishTranslation(language);
    }
}

void PrintTo(const Language& language, std::ostream* out) {
    *out << language.code;
}

INSTANTIATE_TEST_SUITE_P(SixLanguages, ResourcesByLanguage, testing::ValuesIn(kLanguages),
                         [](const testing::TestParamInfo<Language>& instance) {
                             return std::string(instance.param.code);
                         });

// ---- resources that exist once, under Spanish, and serve every language ----

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

struct Picture {
    int width = 0, height = 0, bits = 0;
    COLORREF first_pixel = 0;  // top left
};

Picture DescribeBitmap(UINT id) {
    Picture picture;
    // LR_CREATEDIBSECTION keeps the stored depth instead of converting to the screen's.
    Bitmap bitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) {
        return picture;
    }
    DIBSECTION section{};
    GetObjectA(bitmap.get(), sizeof(section), &section);
    picture.width = section.dsBm.bmWidth;
    picture.height = section.dsBm.bmHeight;
    picture.bits = section.dsBm.bmBitsPixel;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    picture.first_pixel = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

TEST(SharedResources, BitmapsHaveTheirSizesDepthsAndTransparentColours) {
    const Picture toolbar = DescribeBitmap(IDR_MAINFRAME);
    EXPECT_EQ(toolbar.width, 128);
    EXPECT_EQ(toolbar.height, 16);
    EXPECT_EQ(toolbar.bits, 4);
    EXPECT_EQ(toolbar.first_pixel, RGB(192, 192, 192)) << "mapped to the button face";
    const Picture marks = DescribeBitmap(IDB_CHECK_MARKS);
    EXPECT_EQ(marks.width, 48);
    EXPECT_EQ(marks.height, 16);
    EXPECT_EQ(marks.bits, 4);
    EXPECT_EQ(marks.first_pixel, RGB(255, 0, 255));
    const Picture banner = DescribeBitmap(IDR_BANNER);
    EXPECT_EQ(banner.width, 206);
    EXPECT_EQ(banner.height, 23);
    EXPECT_EQ(banner.bits, 24);
    EXPECT_EQ(banner.first_pixel, RGB(232, 237, 220));
    // Found from any language: they exist once, under Spanish.
    EXPECT_FALSE(RawResource(RT_BITMAP, MAKEINTRESOURCEA(IDR_BANNER), 3082).empty());
    LanguageScope scope(kLanguages[3]);
    EXPECT_EQ(DescribeBitmap(IDR_BANNER).width, 206);
}

// Entries of an icon group: width, height and bits per pixel.
std::vector<std::string> IconGroup(UINT id) {
    const std::string raw = RawResource(RT_GROUP_ICON, MAKEINTRESOURCEA(id), 3082);
    std::vector<std::string> entries;
    const WORD count = WordAt(raw, 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * 14u <= raw.size(); ++i) {
        const std::size_t at = 6 + i * 14u;
        const int width = static_cast<unsigned char>(raw[at]);
        const int height = static_cast<unsigned char>(raw[at + 1]);
        entries.push_back(std::to_string(width ? width : 256) + "x" +
                          std::to_string(height ? height : 256) + "@" +
                          std::to_string(WordAt(raw, at + 6)));
    }
    return entries;
}

TEST(SharedResources, IconGroupsHoldTheirImages) {
    EXPECT_EQ(IconGroup(IDR_MAINFRAME),
              (std::vector<std::string>{"16x16@4", "32x32@4", "48x48@4", "16x16@8", "32x32@8",
                                        "48x48@8", "16x16@32", "32x32@32", "48x48@32", "64x64@32",
                                        "72x72@32", "96x96@32", "128x128@32"}));
    EXPECT_EQ(IconGroup(IDI_LOGO), std::vector<std::string>{"190x18@8"});
    HICON small_icon = static_cast<HICON>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(small_icon, nullptr);
    DestroyIcon(small_icon);
}

std::vector<WORD> ToolbarWords(UINT id) {
    const std::string raw = RawResource(MAKEINTRESOURCEA(241), MAKEINTRESOURCEA(id), 3082);
    std::vector<WORD> words;
    for (std::size_t at = 0; at + 2 <= raw.size(); at += 2) {
        words.push_back(WordAt(raw, at));
    }
    return words;
}

TEST(SharedResources, ToolbarsListTheirButtons) {
    EXPECT_EQ(
        ToolbarWords(IDR_MAINFRAME),
        (std::vector<WORD>{1, 16, 16, 12, ID_FOLDER_UP, 0, ID_SHOW_RESULTS, ID_SAVE_SEARCH, 0,
                           ID_SHOW_SUMMARY, ID_ABOUT, 0, ID_SEARCH, 0, ID_ONLY_GOOD, ID_ONLY_BAD}));
    EXPECT_EQ(ToolbarWords(IDR_BANNER), (std::vector<WORD>{1, 206, 23, 1, ID_WEBSITE}));
}

TEST(SharedResources, ManifestAsksForCommonControlsSix) {
    const std::string manifest = RawResource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1), 3082);
    EXPECT_NE(manifest.find("name=\"Tov\""), std::string::npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"*\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("6595b64144ccf1df"), std::string::npos);
}

// ---- a window that shows every image at its real size and enlarged, for a screenshot ----

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, w, l);
    }
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HDC memory = CreateCompatibleDC(dc);
    int y = 8;
    for (UINT id : {IDR_MAINFRAME, IDB_CHECK_MARKS, IDR_BANNER}) {
        Bitmap bitmap(static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        BITMAP info{};
        GetObjectA(bitmap.get(), sizeof(info), &info);
        HGDIOBJ old = SelectObject(memory, bitmap.get());
        BitBlt(dc, 8, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        StretchBlt(dc, 240, y, info.bmWidth * 3, info.bmHeight * 3, memory, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        y += info.bmHeight * 3 + 10;
    }
    // The banner as the toolbar shows it: through an image list with its mask colour.
    HIMAGELIST banner = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDR_BANNER), 206, 0,
                                             RGB(232, 237, 220), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ImageList_Draw(banner, 0, dc, 8, y, ILD_TRANSPARENT);
    ImageList_Destroy(banner);
    y += 33;
    int x = 8;
    for (int size : {16, 32, 48, 64, 72, 96, 128}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        x += size + 10;
    }
    y += 138;
    HICON logo =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_LOGO), IMAGE_ICON, 0, 0, 0));
    DrawIconEx(dc, 8, y, logo, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, 240, y, logo, 190 * 3, 18 * 3, 0, nullptr, DI_NORMAL);
    DestroyIcon(logo);
    DeleteDC(memory);
    EndPaint(window, &paint);
    return 0;
}

// Run by hand: win_tests --gtest_also_run_disabled_tests --gtest_filter=*ImageGallery*
// (TOV_GALLERY_SECONDS sets how long it stays up) and take a screenshot meanwhile.
TEST(SharedResources, DISABLED_ImageGallery) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = GalleryProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = "TovImageGallery";
    RegisterClassA(&window_class);
    Window window(CreateWindowA("TovImageGallery", "Tov images", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 1000, 560, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr));
    ASSERT_NE(window, nullptr);
    const char* seconds = std::getenv("TOV_GALLERY_SECONDS");
    const DWORD end = GetTickCount() + 1000u * static_cast<DWORD>(seconds ? std::atoi(seconds) : 5);
    for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

}  // namespace
