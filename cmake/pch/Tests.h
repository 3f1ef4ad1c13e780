// Precompiled for the test programs without Qt: the standard library, GoogleTest, nlohmann/json.
#pragma once
#include "Std.h"
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
