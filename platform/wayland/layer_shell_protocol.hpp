#pragma once

// The layer shell's generated header names an argument after a C++ keyword.
#include <wayland-client.h>
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
