#include "upload/AutoUpdate.h"

std::atomic<bool> autoUpdate{false};
