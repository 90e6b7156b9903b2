#pragma once

// The unit model sees the shared layouts only.
#include "cradle/FrameCodec.h"
#include "protocol/SetupData.h"
