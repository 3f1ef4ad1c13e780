// Precompiled for the window tests: Qt Widgets and GoogleTest.
#pragma once
#include "QtWidgets.h"
#include <gtest/gtest.h>
