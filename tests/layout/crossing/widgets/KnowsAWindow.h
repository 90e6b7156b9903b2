#pragma once

// A general widget knows no window of the program.
#include "cradle/CradleForm.h"
