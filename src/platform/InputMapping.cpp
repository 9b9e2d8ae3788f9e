#include "platform/InputMapping.h"

#include <array>
#include <utility>

namespace {

// Keys whose code is no simple range.
constexpr std::pair<int, UINT> kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},       {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},          {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},         {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Shift, VK_SHIFT},          {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},             {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},          {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},        {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},         {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},              {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},            {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},          {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},       {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},        {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},            {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Menu, VK_APPS},            {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},          {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},        {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},       {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},   {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},       {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},     {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},      {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},            {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},     {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},       {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},                  {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},              {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},         {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},            {Qt::Key_ParenLeft, '9'},
};

// The keypad's operators and digits have codes of their own.
UINT KeypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return VK_NUMPAD0 + static_cast<UINT>(qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma: return VK_DECIMAL;
    case Qt::Key_Slash: return VK_DIVIDE;
    default: return 0;
    }
}

}  // namespace

UINT VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (const UINT vk = KeypadKey(qtKey))
            return vk;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<UINT>(qtKey);  // the toolkit's codes are the characters, as the virtual keys are
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_ParenRight)
        return '0';
    for (const auto& [key, vk] : kKeys)
        if (key == qtKey)
            return vk;
    return VK_UNKNOWN;
}

UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}
