// The main window fixture under the name the editing and scene tests use.
#pragma once

#include "support/WindowTest.h"

using EditingTest = WindowTest;
