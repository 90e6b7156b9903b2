#pragma once

// hid/ knows nothing of the program above it.
#include "app/MainForm.h"
