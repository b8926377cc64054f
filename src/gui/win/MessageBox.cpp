#include "gui/win/MessageBox.h"

#include "platform/Messages.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace s::gui::win {

namespace {

using namespace platform;

constexpr int kCaption = 26;
constexpr int kPadding = 16;
constexpr int kIcon = 32;
constexpr int kButtonHeight = 26;
constexpr int kButtonMinWidth = 80;
constexpr int kGap = 8;
constexpr int kTextWidth = 420;

void setColour(cairo_t* cr, std::uint32_t rgb)
{
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

std::uint32_t toBgr(std::uint32_t rgb)
{
    return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

class MessageBoxWindow final : public IWindowProc {
public:
    MessageBoxWindow(Display& display, WindowId owner, const std::string& text, MessageBoxKind kind, const MessageBoxStyle& style)
        : m_display(display), m_owner(owner), m_text(text), m_kind(kind), m_style(style)
    {
        if (kind == MessageBoxKind::Question) {
            m_buttons.push_back({style.yes, true, {}, kButtonMinWidth});
            m_buttons.push_back({style.no, false, {}, kButtonMinWidth});
        } else {
            m_buttons.push_back({style.ok, true, {}, kButtonMinWidth});
        }
    }

    bool run()
    {
        measure();
        NativeWindow* ownerWindow = m_display.findWindow(m_owner);
        WindowParams params;
        params.title = m_style.title;
        params.owner = ownerWindow != nullptr ? m_owner : 0;
        params.showInTaskbar = ownerWindow == nullptr;
        params.keepOnTop = ownerWindow != nullptr && ownerWindow->isKeepOnTop();
        params.resizable = false;
        params.background = toBgr(m_style.background);
        params.bounds = place(ownerWindow);
        m_window = m_display.createWindow(params, this);
        if (m_window == nullptr)
            return false;
        const WindowId self = m_window->id();
        const bool ownerWasEnabled = ownerWindow != nullptr && ownerWindow->isEnabled();
        if (ownerWindow != nullptr)
            ownerWindow->setEnabled(false);
        m_window->show(SW_SHOW);
        m_display.runUntil([&] { return m_done || m_display.findWindow(self) == nullptr; });
        // The owner takes input again before the box goes, so the desktop gives it the focus back.
        if (NativeWindow* owner = m_display.findWindow(m_owner)) {
            owner->setEnabled(ownerWasEnabled);
            owner->activate();
        }
        if (NativeWindow* box = m_display.findWindow(self))
            box->destroy();
        return m_done && m_answer;
    }

    LResult windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam) override
    {
        switch (code) {
        case WM_NCHITTEST: {
            const Point p = window.screenToClient(pointFromLParam(lParam));
            return p.y < kCaption ? HTCAPTION : HTCLIENT;
        }
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_MOUSEMOVE:
            setHot(buttonAt(pointFromLParam(lParam)));
            return 0;
        case WM_LBUTTONDOWN:
            m_pressed = buttonAt(pointFromLParam(lParam));
            if (m_pressed >= 0)
                window.setCapture();
            redraw();
            return 0;
        case WM_LBUTTONUP: {
            const int released = buttonAt(pointFromLParam(lParam));
            const int pressed = m_pressed;
            m_pressed = -1;
            if (window.hasCapture())
                window.display().releaseCapture();
            redraw();
            if (pressed >= 0 && pressed == released)
                choose(m_buttons[static_cast<std::size_t>(pressed)].answer);
            return 0;
        }
        case WM_KEYDOWN:
            key(static_cast<int>(wParam));
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0u) == SC_CLOSE) {
                closeRequested();
                return 0;
            }
            break;
        case WM_CLOSE:
            closeRequested();
            return 0;
        default:
            break;
        }
        return window.defaultProc(code, wParam, lParam);
    }

private:
    struct Button {
        std::string label;
        bool answer;
        Rect rect;
        int width = kButtonMinWidth;
    };

    PangoLayout* layout(cairo_t* cr, const std::string& text, bool bold, int width)
    {
        PangoLayout* l = pango_cairo_create_layout(cr);
        pango_cairo_context_set_resolution(pango_layout_get_context(l), m_display.dpi());
        pango_layout_context_changed(l);
        PangoFontDescription* font = pango_font_description_from_string(bold ? "Sans Bold 9" : "Sans 9");
        pango_layout_set_font_description(l, font);
        pango_font_description_free(font);
        if (width > 0) {
            pango_layout_set_width(l, width * PANGO_SCALE);
            pango_layout_set_wrap(l, PANGO_WRAP_WORD_CHAR);
        }
        pango_layout_set_text(l, text.c_str(), -1);
        return l;
    }

    void measure()
    {
        cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cairo_t* cr = cairo_create(scratch);
        PangoLayout* body = layout(cr, m_text, false, kTextWidth);
        pango_layout_get_pixel_size(body, &m_textWidth, &m_textHeight);
        g_object_unref(body);
        int buttonsWidth = 0;
        for (Button& b : m_buttons) {
            PangoLayout* label = layout(cr, b.label, false, 0);
            int w = 0;
            int h = 0;
            pango_layout_get_pixel_size(label, &w, &h);
            g_object_unref(label);
            b.width = std::max(kButtonMinWidth, w + 24);
            buttonsWidth += b.width + kGap;
        }
        cairo_destroy(cr);
        cairo_surface_destroy(scratch);
        m_width = std::max({kPadding + kIcon + 12 + m_textWidth + kPadding, buttonsWidth - kGap + 2 * kPadding, 220});
        m_height = kCaption + kPadding + std::max(kIcon, m_textHeight) + kPadding + kButtonHeight + kPadding;
        int x = m_width - kPadding;
        for (auto it = m_buttons.rbegin(); it != m_buttons.rend(); ++it) {
            x -= it->width;
            it->rect = Rect::fromSize(x, m_height - kPadding - kButtonHeight, it->width, kButtonHeight);
            x -= kGap;
        }
    }

    Rect place(NativeWindow* owner) const
    {
        const Rect around = owner != nullptr ? owner->bounds()
                                             : m_display.workArea(Rect::fromSize(m_display.cursorPos().x, m_display.cursorPos().y, 1, 1));
        const Rect work = m_display.workArea(around);
        int x = around.left + (around.width() - m_width) / 2;
        int y = around.top + (around.height() - m_height) / 2;
        x = std::clamp(x, work.left, std::max(work.left, work.right - m_width));
        y = std::clamp(y, work.top, std::max(work.top, work.bottom - m_height));
        return Rect::fromSize(x, y, m_width, m_height);
    }

    int buttonAt(Point p) const
    {
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            if (m_buttons[i].rect.contains(p))
                return static_cast<int>(i);
        }
        return -1;
    }

    void setHot(int hot)
    {
        if (hot == m_hot)
            return;
        m_hot = hot;
        redraw();
    }

    void redraw()
    {
        if (m_window != nullptr)
            m_window->invalidate();
    }

    void choose(bool answer)
    {
        m_answer = answer;
        m_done = true;
    }

    void closeRequested()
    {
        if (m_kind != MessageBoxKind::Question)
            choose(true);
    }

    void key(int virtualKey)
    {
        switch (virtualKey) {
        case VK_RETURN:
        case VK_SPACE: choose(m_buttons.front().answer); break;
        case VK_ESCAPE: closeRequested(); break;
        case 'Y':
            if (m_kind == MessageBoxKind::Question)
                choose(true);
            break;
        case 'N':
            if (m_kind == MessageBoxKind::Question)
                choose(false);
            break;
        default: break;
        }
    }

    void drawIcon(cairo_t* cr, double x, double y)
    {
        const double r = kIcon / 2.0;
        setColour(cr, m_kind == MessageBoxKind::Error ? 0xD93025 : 0x1E6FD9);
        cairo_arc(cr, x + r, y + r, r, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, 3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        if (m_kind == MessageBoxKind::Error) {
            cairo_move_to(cr, x + r - 7, y + r - 7);
            cairo_line_to(cr, x + r + 7, y + r + 7);
            cairo_move_to(cr, x + r + 7, y + r - 7);
            cairo_line_to(cr, x + r - 7, y + r + 7);
            cairo_stroke(cr);
        } else if (m_kind == MessageBoxKind::Information) {
            cairo_arc(cr, x + r, y + r - 8, 2, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_move_to(cr, x + r, y + r - 2);
            cairo_line_to(cr, x + r, y + r + 9);
            cairo_stroke(cr);
        } else {
            cairo_arc(cr, x + r, y + r - 4, 5, M_PI, 2.25 * M_PI);
            cairo_line_to(cr, x + r, y + r + 4);
            cairo_stroke(cr);
            cairo_arc(cr, x + r, y + r + 9, 2, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }

    void paint(NativeWindow& window)
    {
        PaintInfo info = window.beginPaint();
        if (info.surface == nullptr)
            return;
        cairo_t* cr = cairo_create(info.surface);
        setColour(cr, m_style.background);
        cairo_paint(cr);
        setColour(cr, m_style.caption);
        cairo_rectangle(cr, 0, 0, m_width, kCaption);
        cairo_fill(cr);
        setColour(cr, m_style.border);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, 0.5, 0.5, m_width - 1, m_height - 1);
        cairo_stroke(cr);

        setColour(cr, m_style.text);
        PangoLayout* title = layout(cr, m_style.title, true, m_width - 2 * kGap);
        pango_layout_set_ellipsize(title, PANGO_ELLIPSIZE_END);
        int tw = 0;
        int th = 0;
        pango_layout_get_pixel_size(title, &tw, &th);
        cairo_move_to(cr, kGap, (kCaption - th) / 2.0);
        pango_cairo_show_layout(cr, title);
        g_object_unref(title);

        const int top = kCaption + kPadding;
        drawIcon(cr, kPadding, top);
        setColour(cr, m_style.text);
        PangoLayout* body = layout(cr, m_text, false, kTextWidth);
        cairo_move_to(cr, kPadding + kIcon + 12, top + std::max(0, (kIcon - m_textHeight) / 2));
        pango_cairo_show_layout(cr, body);
        g_object_unref(body);

        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            const Button& b = m_buttons[i];
            const bool hot = static_cast<int>(i) == m_hot;
            const bool pressed = static_cast<int>(i) == m_pressed && hot;
            setColour(cr, hot ? m_style.buttonHot : m_style.button);
            cairo_rectangle(cr, b.rect.left, b.rect.top, b.rect.width(), b.rect.height());
            cairo_fill(cr);
            setColour(cr, m_style.buttonBorder);
            cairo_rectangle(cr, b.rect.left + 0.5, b.rect.top + 0.5, b.rect.width() - 1, b.rect.height() - 1);
            cairo_stroke(cr);
            setColour(cr, m_style.text);
            PangoLayout* label = layout(cr, b.label, false, 0);
            int lw = 0;
            int lh = 0;
            pango_layout_get_pixel_size(label, &lw, &lh);
            const int shift = pressed ? 1 : 0;
            cairo_move_to(cr, b.rect.left + (b.rect.width() - lw) / 2.0 + shift, b.rect.top + (b.rect.height() - lh) / 2.0 + shift);
            pango_cairo_show_layout(cr, label);
            g_object_unref(label);
        }
        cairo_destroy(cr);
        window.endPaint(info);
    }

    Display& m_display;
    WindowId m_owner;
    std::string m_text;
    MessageBoxKind m_kind;
    MessageBoxStyle m_style;
    std::vector<Button> m_buttons;
    NativeWindow* m_window = nullptr;
    int m_textWidth = 0;
    int m_textHeight = 0;
    int m_width = 0;
    int m_height = 0;
    int m_hot = -1;
    int m_pressed = -1;
    bool m_done = false;
    bool m_answer = false;
};

}  // namespace

bool showMessageBox(Display& display, WindowId owner, const std::string& text, MessageBoxKind kind,
                    const MessageBoxStyle& style)
{
    MessageBoxWindow box(display, owner, text, kind, style);
    return box.run();
}

bool showMessageBox(WindowId owner, const std::string& text, MessageBoxKind kind, const MessageBoxStyle& style)
{
    bool answer = false;
    const bool reached = invoke(owner, [&] {
        if (Display* display = currentDisplay())
            answer = showMessageBox(*display, owner, text, kind, style);
    });
    return reached && answer;
}

}  // namespace s::gui::win
