// Precompiled for milgant-cli: the standard library and nlohmann/json.
#pragma once
#include "Std.h"
#include <nlohmann/json.hpp>
