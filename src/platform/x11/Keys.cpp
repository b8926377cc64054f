#include "platform/x11/Keys.h"

#include "platform/Messages.h"

#include <X11/keysym.h>

namespace s::platform::x11 {

KeyCode virtualKeyOf(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return {static_cast<int>('A' + (keysym - XK_a)), false};
    if (keysym >= XK_A && keysym <= XK_Z)
        return {static_cast<int>('A' + (keysym - XK_A)), false};
    if (keysym >= XK_0 && keysym <= XK_9)
        return {static_cast<int>('0' + (keysym - XK_0)), false};
    if (keysym >= XK_F1 && keysym <= XK_F24)
        return {static_cast<int>(VK_F1 + (keysym - XK_F1)), false};
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
        return {static_cast<int>(VK_NUMPAD0 + (keysym - XK_KP_0)), false};

    struct Entry {
        unsigned long keysym;
        int virtualKey;
        bool extended;
    };
    static constexpr Entry kTable[] = {
        {XK_BackSpace, VK_BACK, false},   {XK_Tab, VK_TAB, false},          {XK_ISO_Left_Tab, VK_TAB, false},
        {XK_Return, VK_RETURN, false},    {XK_KP_Enter, VK_RETURN, true},   {XK_Shift_L, VK_LSHIFT, false},
        {XK_Shift_R, VK_RSHIFT, false},   {XK_Control_L, VK_LCONTROL, false}, {XK_Control_R, VK_RCONTROL, true},
        {XK_Alt_L, VK_LMENU, false},      {XK_Alt_R, VK_RMENU, true},       {XK_ISO_Level3_Shift, VK_RMENU, true},
        {XK_Meta_L, VK_LMENU, false},     {XK_Pause, VK_PAUSE, false},      {XK_Caps_Lock, VK_CAPITAL, false},
        {XK_Escape, VK_ESCAPE, false},    {XK_space, VK_SPACE, false},      {XK_Prior, VK_PRIOR, true},
        {XK_Next, VK_NEXT, true},         {XK_End, VK_END, true},           {XK_Home, VK_HOME, true},
        {XK_Left, VK_LEFT, true},         {XK_Up, VK_UP, true},             {XK_Right, VK_RIGHT, true},
        {XK_Down, VK_DOWN, true},         {XK_Print, VK_SNAPSHOT, true},    {XK_Insert, VK_INSERT, true},
        {XK_Delete, VK_DELETE, true},     {XK_Super_L, VK_LWIN, true},      {XK_Super_R, VK_RWIN, true},
        {XK_Menu, VK_APPS, true},         {XK_KP_Multiply, VK_MULTIPLY, false}, {XK_KP_Add, VK_ADD, false},
        {XK_KP_Subtract, VK_SUBTRACT, false}, {XK_KP_Decimal, VK_DECIMAL, false}, {XK_KP_Divide, VK_DIVIDE, true},
        {XK_KP_Home, VK_HOME, false},     {XK_KP_End, VK_END, false},       {XK_KP_Left, VK_LEFT, false},
        {XK_KP_Right, VK_RIGHT, false},   {XK_KP_Up, VK_UP, false},         {XK_KP_Down, VK_DOWN, false},
        {XK_KP_Prior, VK_PRIOR, false},   {XK_KP_Next, VK_NEXT, false},     {XK_KP_Insert, VK_INSERT, false},
        {XK_KP_Delete, VK_DELETE, false}, {XK_Num_Lock, VK_NUMLOCK, true},  {XK_Scroll_Lock, VK_SCROLL, false},
        {XK_semicolon, VK_OEM_1, false},  {XK_equal, VK_OEM_PLUS, false},   {XK_comma, VK_OEM_COMMA, false},
        {XK_minus, VK_OEM_MINUS, false},  {XK_period, VK_OEM_PERIOD, false}, {XK_slash, VK_OEM_2, false},
        {XK_grave, VK_OEM_3, false},      {XK_bracketleft, VK_OEM_4, false}, {XK_backslash, VK_OEM_5, false},
        {XK_bracketright, VK_OEM_6, false}, {XK_apostrophe, VK_OEM_7, false}, {XK_less, VK_OEM_102, false},
    };
    for (const Entry& e : kTable) {
        if (e.keysym == keysym)
            return {e.virtualKey, e.extended};
    }
    return {};
}

}  // namespace s::platform::x11
