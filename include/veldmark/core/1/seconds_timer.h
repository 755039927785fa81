// SPDX-License-Identifier: MIT
// <veldmark/core/1/seconds_timer.h> from the source tree (a git submodule,
// add_subdirectory): the stopwatch itself is libssrc/core/1/seconds_timer.h.
#include "../../../../libssrc/core/1/seconds_timer.h"
