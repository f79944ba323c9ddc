#include "ui/toolbar_win.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/handles_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

constexpr int kButtonMargin = 7;  // buttons are this much wider and higher than the images

int FontHeight(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (font == nullptr) {
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    WindowDC dc(window);
    if (dc.get() == nullptr) {
        return 0;
    }
    SelectedObject selected(dc.get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    return metrics.tmHeight;
}

}  // namespace

bool LoadToolbarResource(HINSTANCE instance, UINT id, ToolbarResource& resource) {
    HRSRC found =
        FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolbarResourceType));
    if (found == nullptr) {
        return false;
    }
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* words = static_cast<const WORD*>(LockResource(loaded));
    if (words == nullptr || size < 4 * sizeof(WORD)) {
        return false;
    }
    const WORD count = words[3];
    if (size < (4u + count) * sizeof(WORD)) {
        return false;
    }
    resource.image_width = words[1];
    resource.image_height = words[2];
    resource.items.assign(words + 4, words + 4 + count);
    return true;
}

HWND CreateToolbarFromResource(HWND parent, UINT resource_id, DWORD style, UINT control_id) {
    const HINSTANCE instance = ResourceInstance();
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 100, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control_id)),
                                   instance, nullptr);
    if (toolbar == nullptr) {
        return nullptr;
    }
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    ToolbarResource resource;
    if (!LoadToolbarResource(instance, resource_id, resource)) {
        return toolbar;
    }
    const int width = resource.image_width;
    const int height = std::max<int>(resource.image_height, FontHeight(toolbar));
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(width + kButtonMargin, height + kButtonMargin));

    const auto images = static_cast<int>(
        std::count_if(resource.items.begin(), resource.items.end(), [](WORD c) { return c != 0; }));
    if (images > 0 && FindResourceA(instance, MAKEINTRESOURCEA(resource_id),
                                    reinterpret_cast<LPCSTR>(RT_BITMAP)) != nullptr) {
        TBADDBITMAP bitmap{instance, resource_id};
        SendMessageA(toolbar, TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap));
    }

    std::vector<TBBUTTON> buttons(resource.items.size());
    int next_image = 0;
    for (std::size_t i = 0; i < resource.items.size(); ++i) {
        TBBUTTON& button = buttons[i];
        button.fsState = TBSTATE_ENABLED;
        if (resource.items[i] == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = next_image++;
            button.idCommand = resource.items[i];
            button.fsStyle = BTNS_BUTTON;
        }
    }
    if (!buttons.empty()) {
        SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(),
                     reinterpret_cast<LPARAM>(buttons.data()));
    }
    return toolbar;
}

std::string CommandText(UINT id, std::size_t buffer_size, std::size_t max_length,
                        bool whole_if_no_newline) {
    std::string text = LoadText(id);
    // The text as a NUL-terminated string in a buffer of that size.
    text.resize(std::min(text.find('\0'), text.size()));
    if (buffer_size > 0 && text.size() > buffer_size - 1) {
        text.resize(buffer_size - 1);
    }
    const std::size_t newline = text.find('\n');
    if (newline == std::string::npos) {
        if (!whole_if_no_newline) {
            text.clear();
        }
    } else {
        text.erase(0, newline + 1);
    }
    if (text.size() > max_length) {
        text.resize(max_length);
    }
    return text;
}

std::string ToolbarTooltip(UINT command) {
    return CommandText(command, 256, 79);
}

std::vector<int> ClippedButtons(HWND toolbar) {
    std::vector<int> clipped;
    RECT client{};
    GetClientRect(toolbar, &client);
    const auto count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsState & TBSTATE_HIDDEN) {
            continue;
        }
        RECT item{};
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        if (item.right > client.right) {
            clipped.push_back(i);
        }
    }
    return clipped;
}

}  // namespace tov
