#include "text/TextBoxInfo.h"

CTextBoxList* g_pTextBoxes = nullptr;
