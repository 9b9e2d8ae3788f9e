// The one translation of the toolkit's keys and mouse buttons into the
// Windows terms the handlers take (virtual-key codes, MK_* flags), shared by
// the canvas view, the text boxes and the dialogs.
#pragma once

#include "platform/WinTypes.h"

#include <Qt>

// The virtual-key code of a toolkit key as a US keyboard gives it: letters
// and digits as their upper-case characters, the keypad's digits and
// operators as VK_NUMPAD0.. and friends, punctuation as the VK_OEM_* key that
// carries it (shifted or not), function keys VK_F1 to VK_F24. Every key gets
// a code: one the table does not know gives VK_UNKNOWN.
UINT VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The MK_* flags of a mouse message: the buttons held and Shift and Ctrl.
UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
