#include "ui/main_frame_win.h"

namespace tov {}  // namespace tov
